#pragma once

class FakeCapturePlatform;

// The fake camera platform under the app tests' capture thread.
FakeCapturePlatform& fakeCapture();
