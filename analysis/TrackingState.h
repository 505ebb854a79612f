#pragma once

#include <cstdint>

// Whether the estimate rests on the arms. Tracking: they were measured within
// the last few frames. Searching: they have not been found yet, or not for a
// moment while the estimate holds. Lost: they have been missing for longer
// than the estimator waits, and the estimate is easing back to level.
enum class TrackingState { Searching, Tracking, Lost };

// The state of an estimator that has measured the arms at least once (or not
// yet), after misses frames in a row without them; it is lost past
// missesBeforeLost of them.
TrackingState trackingStateAfter(bool everMeasured, int32_t misses, int32_t missesBeforeLost);

// "tracking", "searching" or "lost", as the tracker prints it and the session
// bus shows it.
const char* trackingStateName(TrackingState state);
