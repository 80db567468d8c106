// Reads only as much XML as it takes to reach the root element's start tag,
// without building a document. The text is untrusted: every scan moves
// forward only, stops at the NUL and never recurses, so any bytes are read in
// linear time.
#include "capture/svg/xml_scanning.h"

#include "capture/svg/xml_characters.h"

namespace ondrel {
namespace {

// Compares one character at a time, so it never looks past a NUL.
bool startsWith(const char* at, std::string_view prefix) {
  for (char c : prefix) {
    if (*at != c) return false;
    ++at;
  }
  return true;
}

// The position just past `terminator`, or the NUL when the text ends first.
const char* skipPast(const char* at, std::string_view terminator) {
  while (*at != '\0' && !startsWith(at, terminator)) ++at;
  return *at == '\0' ? at : at + terminator.size();
}

const char* skipQuoted(const char* quote) {
  const char* at = quote + 1;
  while (*at != '\0' && *at != *quote) ++at;
  return *at == '\0' ? at : at + 1;
}

// Skips a declaration such as a DOCTYPE from just after its "<!". Its internal
// subset may hold '>' inside quoted text, comments and processing
// instructions, none of which ends the declaration.
const char* skipDeclaration(const char* at) {
  bool inSubset = false;
  while (*at != '\0') {
    if (*at == '"' || *at == '\'') {
      at = skipQuoted(at);
    } else if (inSubset && startsWith(at, "<!--")) {
      at = skipPast(at + 4, "-->");
    } else if (inSubset && startsWith(at, "<?")) {
      at = skipPast(at + 2, "?>");
    } else {
      const char c = *at++;
      if (c == '[') inSubset = true;
      if (c == ']') inSubset = false;
      if (c == '>' && !inSubset) return at;
    }
  }
  return at;
}

// The name of the first element, starting just after its '<', or nullptr when
// the text has none. Text outside markup before it (whitespace, a byte order
// mark, stray bytes) is passed over.
const char* findFirstElement(const char* at) {
  while (*at != '\0') {
    if (*at != '<') {
      ++at;
    } else if (startsWith(at, "<?")) {
      at = skipPast(at + 2, "?>");
    } else if (startsWith(at, "<!--")) {
      at = skipPast(at + 4, "-->");
    } else if (startsWith(at, "<!")) {
      at = skipDeclaration(at + 2);
    } else {
      return at + 1;
    }
  }
  return nullptr;
}

bool endsName(char c) { return c == '\0' || isXmlSpace(c) || c == '/' || c == '>'; }

std::string_view readElementName(const char* name) {
  const char* nameEnd = name;
  while (!endsName(*nameEnd)) ++nameEnd;
  return std::string_view(name, nameEnd - name);
}

// Any namespace prefix is accepted, as in <svg:svg>.
bool isSvgElement(std::string_view qualifiedName) {
  return qualifiedName.substr(qualifiedName.rfind(':') + 1) == "svg";
}

void keepSizeAttribute(std::string_view name, std::string_view value, SizeAttributes& kept) {
  if (name == "width") kept.width = value;
  if (name == "height") kept.height = value;
  if (name == "viewBox") kept.viewBox = value;
}

// Reads an attribute value from its opening quote, or its first character
// when it is unquoted, and moves `at` past it. Nothing when the closing quote
// is missing.
std::optional<std::string_view> readAttributeValue(const char*& at) {
  if (*at != '"' && *at != '\'') {
    const char* start = at;
    while (*at != '\0' && *at != '>' && !isXmlSpace(*at)) ++at;
    return std::string_view(start, at - start);
  }
  const char quote = *at++;
  const char* start = at;
  while (*at != '\0' && *at != quote) ++at;
  if (*at == '\0') return std::nullopt;
  return std::string_view(start, at++ - start);
}

// Reads the start tag's attributes from just after the element name up to
// its '>'. Unquoted values and names without values are tolerated; a value
// whose closing quote is missing ends the tag.
SizeAttributes readSizeAttributes(const char* at) {
  SizeAttributes kept;
  for (;;) {
    while (isXmlSpace(*at) || *at == '/') ++at;
    if (*at == '\0' || *at == '>') return kept;
    const char* nameStart = at;
    while (!endsName(*at) && *at != '=') ++at;
    const std::string_view name(nameStart, at - nameStart);
    while (isXmlSpace(*at)) ++at;
    if (*at != '=') continue;
    ++at;
    while (isXmlSpace(*at)) ++at;
    const std::optional<std::string_view> value = readAttributeValue(at);
    if (!value) return kept;
    keepSizeAttribute(name, *value, kept);
  }
}

}  // namespace

std::optional<SizeAttributes> readSvgRootAttributes(const char* text) {
  const char* name = findFirstElement(text);
  if (name == nullptr) return std::nullopt;
  const std::string_view qualifiedName = readElementName(name);
  if (!isSvgElement(qualifiedName)) return std::nullopt;
  return readSizeAttributes(name + qualifiedName.size());
}

}  // namespace ondrel
