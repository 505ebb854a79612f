#pragma once

#include "output/OutputRequest.h"
#include "output/OutputSink.h"

#include <memory>

// The one place that knows which sink serves which kind of output.
std::unique_ptr<OutputSink> createOutputSink(const OutputRequest& request);
