// What the tests of the DevTools engine with the fake browser on its pipe share: a private copy
// of the plug-in, the fake's record of every command it was sent, and a check that no browser,
// profile or staged page stays behind.
#ifndef ONDREL_TESTS_SUPPORT_FAKE_DEVTOOLS_FIXTURE_H_
#define ONDREL_TESTS_SUPPORT_FAKE_DEVTOOLS_FIXTURE_H_

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host_support.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {

class FakeDevToolsFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Every command the fake browsers were sent, oldest first.
  std::vector<nlohmann::json> commands() const;
  // How often they were sent `method`.
  int timesSent(const std::string& method) const;

  // Whether a browser started by the plug-in still runs.
  bool browserRuns() const;

  // Nothing in the temporary folder (capture files, staged pages, profiles) and no child
  // process more than before the test.
  void expectNothingLeft(const std::string& context);

  platform::ComApartment com;
  PluginModule plugin;

 private:
  std::int64_t children_ = 0;
};

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_FAKE_DEVTOOLS_FIXTURE_H_
