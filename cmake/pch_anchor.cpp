// The one file of the targets that only own a precompiled header for the tests.
