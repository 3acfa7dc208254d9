#pragma once
// User text made safe for XML character data and attribute values.

#include <string>
#include <string_view>

namespace fw {

// Appends `text` to `out` escaped for XML: & < > " ' become entity references, characters that
// XML 1.0 forbids (C0 controls other than tab, line feed and carriage return; U+FFFE, U+FFFF)
// are left out, and bytes that are not well-formed UTF-8 become U+FFFD, so that the result is
// always a well-formed XML text whatever the input.
void AppendXmlEscaped(std::string& out, std::string_view text);

inline std::string XmlEscaped(std::string_view text) {
    std::string out;
    AppendXmlEscaped(out, text);
    return out;
}

} // namespace fw
