// The stand-in's exit status when it could not run the browser at all; any
// other status is the browser's own.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_STAND_IN_STATUS_H_
#define ONDREL_TESTS_WINE_CHROMIUM_STAND_IN_STATUS_H_

namespace ondrel::wine_chromium {

enum StandInStatus : int {
  kNotUnderWine = 120,    // no Unix names to be had
  kNoUnixFileName = 121,  // a file name on the command line has no Unix form
  kNoUnixHalf = 122,      // the Unix half could not be started or did not answer
  kNoPipe = 123,          // --remote-debugging-pipe without descriptors 3 and 4
  kNoExitStatus = 124,    // the Unix half ended without the browser's status
};

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_STAND_IN_STATUS_H_
