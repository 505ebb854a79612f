#pragma once

class FakeCapturePlatform;

// The fake camera platform under the capture thread of programs linked with
// the zaredezid_fake_process_objects library.
FakeCapturePlatform& fakeCapture();
