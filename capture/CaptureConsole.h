#pragma once

// The device layer reports progress and failures as lines on standard output;
// the exact texts are part of its behaviour. Each line is flushed at once so
// that it appears in order with the output of the platform's own threads.
void printCaptureLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
