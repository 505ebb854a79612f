#include "capture/platform/fake/FakeScript.h"

using namespace platform;

namespace fake {

void FakeScript::fail(Operation operation, Status status) {
    QMutexLocker locker(&lock_);
    failures_[operation] = status;
}

void FakeScript::clearFailures() {
    QMutexLocker locker(&lock_);
    failures_.clear();
}

Status FakeScript::statusOf(Operation operation) const {
    QMutexLocker locker(&lock_);
    const auto failure = failures_.find(operation);
    return failure == failures_.end() ? kOk : failure->second;
}

} // namespace fake
