#pragma once

// The capture layer prints its progress lines on standard output, where the
// tracker writes its CSV. This keeps the real standard output for the CSV
// alone and points file descriptor 1 at standard error, so the layer's lines
// (and anything else printed there) still reach the user without breaking
// the rows. It must exist before the capture layer, which prints while it is
// being built.
class StandardOutputDiversion {
public:
    StandardOutputDiversion();
    ~StandardOutputDiversion();

    StandardOutputDiversion(const StandardOutputDiversion&) = delete;
    StandardOutputDiversion& operator=(const StandardOutputDiversion&) = delete;

    // Where the CSV goes: the original standard output, or descriptor 1
    // itself when it could not be set aside.
    int csvDescriptor() const;

private:
    int keptOutput = -1;
};
