#pragma once

// Threads and open descriptors of this process, to show that the code under
// test gives back what it took.
int ThreadCount();
int OpenFdCount();
// The thread count once it has come down to expected (an ended thread can
// stay listed for a moment after its join), or what it still is after a second.
int SettledThreadCount(int expected);
