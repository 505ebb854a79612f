// LeakSanitizer looks for leaks when the process ends, after Mesa has
// unloaded its GL driver with dlclose(). The driver keeps some allocations
// for its whole life; once it is unloaded, their stacks point into no known
// library, so a suppression naming the driver cannot match them. In the
// AddressSanitizer build this dlclose(), exported from each program, takes the
// place of the C library's and leaves every library loaded; nothing in this
// program depends on a library going away.
extern "C" int dlclose(void*) {
    return 0;
}
