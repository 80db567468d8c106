// A test program without tests, built only for the precompiled header that
// the test programs share.
