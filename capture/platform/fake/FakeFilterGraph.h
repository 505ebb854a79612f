#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/fake/FakeFilter.h"
#include "capture/platform/fake/FakeScript.h"

#include <QMutex>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace fake {

// A fake filter graph and its media control: an ordered list of named
// filters that runs or not.
class FakeFilterGraph : public platform::FilterGraph,
                        public platform::MediaControl,
                        public std::enable_shared_from_this<FakeFilterGraph> {
public:
    explicit FakeFilterGraph(std::shared_ptr<FakeScript> script);

    platform::Status addFilter(const std::shared_ptr<platform::Filter>& filter,
                               const std::u16string& name) override;
    platform::Status removeFilter(const std::shared_ptr<platform::Filter>& filter) override;
    platform::Status enumFilters(std::vector<std::shared_ptr<platform::Filter>>& filters) override;
    platform::Status disconnect(const std::shared_ptr<platform::Pin>& pin) override;
    platform::Status queryMediaControl(std::shared_ptr<platform::MediaControl>& control) override;
    platform::Status runWithoutClock() override;

    platform::Status run() override;
    platform::Status pause() override;
    platform::Status stop() override;
    std::string streamFailure() override;

    // Ends the stream the way a failing device or a finished file does.
    void failStream(const std::string& why);
    bool isRunning() const { return running_; }
    std::shared_ptr<FakeFilter> filterOfKind(FakeFilter::Kind kind) const;

private:
    std::shared_ptr<FakeScript> script_;
    // Guards filters_: a test thread looks for the grabber while the layer
    // may be tearing the graph down.
    mutable QMutex filtersLock_;
    std::vector<std::shared_ptr<FakeFilter>> filters_;
    std::atomic<bool> running_{false};
    // Guards failure_: set by the test's thread, read by the capture thread.
    QMutex failureLock_;
    std::string failure_;
};

} // namespace fake
