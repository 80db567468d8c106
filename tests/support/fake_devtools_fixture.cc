#include "tests/support/fake_devtools_fixture.h"

#include <algorithm>
#include <fstream>

#include "tests/support/fake_browser_env.h"
#include "tests/support/resource_usage.h"

namespace ondrel::test {

void FakeDevToolsFixture::SetUp() {
  platform::setEnvironmentVariable(kFakeBrowserProtocolLogVariable,
                                   (plugin.folder() / "protocol.log").string());
  children_ = measureResourceUsage().childProcesses;
}

void FakeDevToolsFixture::TearDown() {
  platform::setEnvironmentVariable(kFakeBrowserProtocolLogVariable, "");
}

std::vector<nlohmann::json> FakeDevToolsFixture::commands() const {
  std::vector<nlohmann::json> sent;
  std::ifstream log(plugin.folder() / "protocol.log");
  for (std::string line; std::getline(log, line);) sent.push_back(nlohmann::json::parse(line));
  return sent;
}

int FakeDevToolsFixture::timesSent(const std::string& method) const {
  return int(std::ranges::count_if(
      commands(), [&](const nlohmann::json& command) { return command["method"] == method; }));
}

bool FakeDevToolsFixture::browserRuns() const {
  return measureResourceUsage().childProcesses > children_;
}

void FakeDevToolsFixture::expectNothingLeft(const std::string& context) {
  EXPECT_EQ(plugin.temporaryFolderContents(), std::vector<std::string>()) << context;
  EXPECT_EQ(measureResourceUsage().childProcesses, children_) << context;
}

}  // namespace ondrel::test
