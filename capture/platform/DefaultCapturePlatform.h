#pragma once

#include <memory>

class CapturePlatform;

// The one place that decides which capture framework the program uses.
std::unique_ptr<CapturePlatform> makeDefaultCapturePlatform();
