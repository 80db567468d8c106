#ifndef ONDREL_CAPTURE_SVG_XML_CHARACTERS_H_
#define ONDREL_CAPTURE_SVG_XML_CHARACTERS_H_

namespace ondrel {

// The four characters XML treats as white space; no other byte separates
// names, attributes or numbers.
inline bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// ASCII digits only, whatever the locale says.
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_XML_CHARACTERS_H_
