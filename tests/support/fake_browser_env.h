// The environment variables through which tests steer the fake browser (tests/fake_browser).

#ifndef ONDREL_TESTS_SUPPORT_FAKE_BROWSER_ENV_H_
#define ONDREL_TESTS_SUPPORT_FAKE_BROWSER_ENV_H_

namespace ondrel::test {

// Names a file to which every run appends its record (tests/support/browser_log.h).
inline constexpr char kFakeBrowserLogVariable[] = "ONDREL_FAKE_BROWSER_LOG";

// "normal" (the default): writes the pattern at exactly the window size;
// "hang": never ends and writes nothing; "no-screenshot": ends at once and writes nothing;
// "larger": writes (W + 16) x (H + 8); "smaller": writes (W / 2) x (H / 2), at least 1 x 1;
// "not-png": writes a text file where the screenshot belongs; "truncated-png": writes the first
// half of the pattern's PNG, as a browser stopped in mid-write would leave it.
//
// Started with "--remote-debugging-pipe", it speaks the DevTools protocol on descriptors 3 and 4
// instead and answers with the pattern at the viewport's size (tests/fake_browser/fake_devtools.h:
// numbered contexts, pages and sessions, refused once gone; what a page asks for, a dialog or a
// renderer that crashes or hangs is written into the page, tests/fake_browser/page_directions.h).
// There "hang" answers nothing, "smaller" and "not-png" spoil the screenshot as above, and
// further: "close-pipe" closes the pipe at the first command and lives on; "exit" ends at the
// first command; "bad-json" answers it with a cut JSON text; "no-load" never reports a page
// loaded; "linger" answers Browser.close but does not end; "crash-at-second-page" ends, unasked,
// when it is to show a second page, as a browser kept between pictures that crashed;
// "stall-at-navigate" reads and answers nothing more from the first Page.navigate on, as a
// browser as stuck as its page; "target-error" answers Target.createTarget with an error;
// "refuse-pipe" ends with exit code 21 at once, as a browser too old for the pipe or forbidden
// remote debugging does, yet draws as "normal" with --screenshot. Browser.getVersion is
// answered with the product "FakeBrowser/1.0".
inline constexpr char kFakeBrowserModeVariable[] = "ONDREL_FAKE_BROWSER_MODE";

// Names a file that each run replaces with a byte-for-byte copy of the page it was shown, so
// tests can see what a capture staged after the capture has removed it.
inline constexpr char kFakeBrowserPageCopyVariable[] = "ONDREL_FAKE_BROWSER_PAGE_COPY";

// Milliseconds to wait before writing the screenshot, so concurrent captures overlap.
inline constexpr char kFakeBrowserDelayVariable[] = "ONDREL_FAKE_BROWSER_DELAY_MS";

// Names a file to which the protocol speaker appends every command it receives, one JSON text a
// line.
inline constexpr char kFakeBrowserProtocolLogVariable[] = "ONDREL_FAKE_BROWSER_PROTOCOL_LOG";

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_FAKE_BROWSER_ENV_H_
