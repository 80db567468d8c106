#include "platform/posix/iconv_names.h"

#include <algorithm>
#include <iterator>

#include "platform/text_codec.h"

namespace ondrel::platform {
namespace {

struct NamedCodePage {
  std::uint32_t number;
  const char* name;
};

// Sorted by number. Windows numbers these after their standards, not IBM.
constexpr NamedCodePage kStandardNames[] = {
    {10000, "MACINTOSH"},   {20127, "ASCII"},       {20866, "KOI8-R"},      {20932, "EUC-JP"},
    {20936, "EUC-CN"},      {21866, "KOI8-U"},      {28591, "ISO-8859-1"},  {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"},  {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},  {28599, "ISO-8859-9"},  {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"}, {50220, "ISO-2022-JP"}, {50221, "ISO-2022-JP"}, {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"}, {51932, "EUC-JP"},      {51936, "EUC-CN"},      {51949, "EUC-KR"},
    {54936, "GB18030"},     {65001, "UTF-8"},
};

}  // namespace

std::string iconvNameFor(std::uint32_t codePage) {
  if (codePage == kAnsiCodePage) codePage = kWesternCodePage;
  const auto* named = std::lower_bound(
      std::begin(kStandardNames), std::end(kStandardNames), codePage,
      [](const NamedCodePage& entry, std::uint32_t number) { return entry.number < number; });
  if (named != std::end(kStandardNames) && named->number == codePage) return named->name;
  return "CP" + std::to_string(codePage);
}

}  // namespace ondrel::platform
