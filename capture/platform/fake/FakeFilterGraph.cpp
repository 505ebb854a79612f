#include "capture/platform/fake/FakeFilterGraph.h"

#include <algorithm>

using namespace platform;

namespace fake {

FakeFilterGraph::FakeFilterGraph(std::shared_ptr<FakeScript> script)
    : script_(std::move(script)) {}

Status FakeFilterGraph::addFilter(const std::shared_ptr<Filter>& filter,
                                  const std::u16string& name) {
    const auto fakeFilter = asFakeFilter(filter);
    if (!fakeFilter) {
        return kFail;
    }
    if (fakeFilter->kind() == FakeFilter::Kind::Grabber &&
        !succeeded(script_->statusOf(Operation::AddSampleGrabber))) {
        return script_->statusOf(Operation::AddSampleGrabber);
    }
    if (fakeFilter->kind() == FakeFilter::Kind::Renderer &&
        !succeeded(script_->statusOf(Operation::AddNullRenderer))) {
        return script_->statusOf(Operation::AddNullRenderer);
    }
    fakeFilter->setName(name);
    QMutexLocker locker(&filtersLock_);
    filters_.push_back(fakeFilter);
    return kOk;
}

Status FakeFilterGraph::removeFilter(const std::shared_ptr<Filter>& filter) {
    const Status status = script_->statusOf(Operation::RemoveFilter);
    if (!succeeded(status)) {
        return status;
    }
    QMutexLocker locker(&filtersLock_);
    const auto found = std::find(filters_.begin(), filters_.end(), asFakeFilter(filter));
    if (found == filters_.end()) {
        return kFail;
    }
    filters_.erase(found);
    return kOk;
}

Status FakeFilterGraph::enumFilters(std::vector<std::shared_ptr<Filter>>& filters) {
    const Status status = script_->statusOf(Operation::EnumFilters);
    if (!succeeded(status)) {
        return status;
    }
    QMutexLocker locker(&filtersLock_);
    filters.assign(filters_.begin(), filters_.end());
    return kOk;
}

Status FakeFilterGraph::disconnect(const std::shared_ptr<Pin>& pin) {
    const auto fakePin = std::dynamic_pointer_cast<FakePin>(pin);
    if (!fakePin) {
        return kFail;
    }
    fakePin->unlink();
    return kOk;
}

Status FakeFilterGraph::queryMediaControl(std::shared_ptr<MediaControl>& control) {
    const Status status = script_->statusOf(Operation::QueryMediaControl);
    if (!succeeded(status)) {
        return status;
    }
    control = std::shared_ptr<MediaControl>(shared_from_this(), static_cast<MediaControl*>(this));
    return kOk;
}

Status FakeFilterGraph::runWithoutClock() {
    return script_->statusOf(Operation::RunWithoutClock);
}

Status FakeFilterGraph::run() {
    const Status status = script_->statusOf(Operation::Run);
    if (succeeded(status)) {
        QMutexLocker locker(&failureLock_);
        failure_.clear();
        running_ = true;
    }
    return status;
}

Status FakeFilterGraph::pause() {
    running_ = false;
    return script_->statusOf(Operation::Pause);
}

Status FakeFilterGraph::stop() {
    running_ = false;
    return script_->statusOf(Operation::Stop);
}

std::string FakeFilterGraph::streamFailure() {
    QMutexLocker locker(&failureLock_);
    return failure_;
}

void FakeFilterGraph::failStream(const std::string& why) {
    QMutexLocker locker(&failureLock_);
    failure_ = why;
}

std::shared_ptr<FakeFilter> FakeFilterGraph::filterOfKind(FakeFilter::Kind kind) const {
    QMutexLocker locker(&filtersLock_);
    for (const auto& filter : filters_) {
        if (filter->kind() == kind) {
            return filter;
        }
    }
    return nullptr;
}

} // namespace fake
