// Which requests a browser holds for its client once Fetch is enabled for a page, read from
// Fetch.enable's parameters as Chromium reads them.
#ifndef ONDREL_TESTS_FAKE_BROWSER_REQUEST_PATTERNS_H_
#define ONDREL_TESTS_FAKE_BROWSER_REQUEST_PATTERNS_H_

#include <nlohmann/json.hpp>

#include <string_view>

namespace ondrel::test {

// Whether a page given Fetch.enable's `params` has its request for `url`, of `resourceType`
// ("Document", "Stylesheet", "Image", ...), held before it is sent. Without "patterns" every
// request is; otherwise one that some pattern matches: its "urlPattern" (default "*", with the
// wildcards '*' and '?' and '\' escaping the next character) matches the whole URL, its
// "resourceType" is absent or the request's, and its "requestStage" is absent or "Request".
// A pattern of the response stage holds the request only once it has reached the server.
bool holdsBeforeSending(const nlohmann::json& params, std::string_view url,
                        std::string_view resourceType);

// Whether `text` matches the wildcard `pattern` whole.
bool matchesUrlPattern(std::string_view pattern, std::string_view text);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_REQUEST_PATTERNS_H_
