#pragma once
// A small checker of XML well-formedness for the MusicXML fuzz target: an optional XML
// declaration and DOCTYPE, then exactly one root element; tags nest and close by name,
// attribute values are quoted, every "&" starts a known or numeric reference, and no
// character XML 1.0 forbids appears. Enough for what the writer produces; not a full parser.

#include "chords/text_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw::fuzz {

// Returns the empty text for well-formed XML, otherwise what is wrong.
inline std::string XmlProblem(std::string_view xml) {
    if (!IsValidUtf8(xml))
        return "not UTF-8";
    for (const char c : xml) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return "a control character";
    }
    if (xml.find("\xEF\xBF\xBE") != std::string_view::npos ||
        xml.find("\xEF\xBF\xBF") != std::string_view::npos)
        return "U+FFFE or U+FFFF";

    auto isNameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == ':' || c == '.';
    };
    auto checkText = [](std::string_view text) -> std::string {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '>' && i >= 2 && text.substr(i - 2, 3) == "]]>")
                return "]]> in text";
            if (text[i] != '&')
                continue;
            const std::size_t semi = text.find(';', i);
            if (semi == std::string_view::npos)
                return "an unterminated reference";
            const std::string_view name = text.substr(i + 1, semi - i - 1);
            const bool known =
                name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos";
            const bool numeric = name.size() > 1 && name[0] == '#' &&
                                 name.find_first_not_of("0123456789", 1) == std::string_view::npos;
            if (!known && !numeric)
                return "an unknown reference";
            i = semi;
        }
        return {};
    };

    std::size_t at = 0;
    std::vector<std::string_view> open;
    bool rootSeen = false;
    while (at < xml.size()) {
        const std::size_t lt = xml.find('<', at);
        const std::string_view text =
            xml.substr(at, lt == std::string_view::npos ? xml.npos : lt - at);
        if (open.empty() && text.find_first_not_of(" \t\r\n") != std::string_view::npos)
            return "text outside the root element";
        if (text.find('>') != std::string_view::npos && text.find("]]>") != std::string_view::npos)
            return "]]> in text";
        if (std::string problem = checkText(text); !problem.empty())
            return problem;
        if (lt == std::string_view::npos)
            break;
        at = lt;
        if (xml.substr(at, 5) == "<?xml" || xml.substr(at, 2) == "<?") {
            const std::size_t end = xml.find("?>", at);
            if (end == std::string_view::npos)
                return "unterminated processing instruction";
            at = end + 2;
            continue;
        }
        if (xml.substr(at, 4) == "<!--") {
            const std::size_t end = xml.find("-->", at);
            if (end == std::string_view::npos)
                return "unterminated comment";
            at = end + 3;
            continue;
        }
        if (xml.substr(at, 9) == "<!DOCTYPE") {
            if (rootSeen)
                return "DOCTYPE after the root";
            const std::size_t end = xml.find('>', at);
            if (end == std::string_view::npos)
                return "unterminated DOCTYPE";
            at = end + 1;
            continue;
        }
        const bool closing = xml.substr(at, 2) == "</";
        std::size_t i = at + (closing ? 2 : 1);
        const std::size_t nameStart = i;
        while (i < xml.size() && isNameChar(xml[i]))
            ++i;
        const std::string_view name = xml.substr(nameStart, i - nameStart);
        if (name.empty())
            return "a tag without a name";
        if (closing) {
            while (i < xml.size() && xml[i] == ' ')
                ++i;
            if (i >= xml.size() || xml[i] != '>')
                return "a bad closing tag";
            if (open.empty() || open.back() != name)
                return "a closing tag that matches no open tag";
            open.pop_back();
            at = i + 1;
            continue;
        }
        if (open.empty() && rootSeen)
            return "a second root element";
        // Attributes: name="value" or name='value'.
        for (;;) {
            const std::size_t before = i;
            while (i < xml.size() && (xml[i] == ' ' || xml[i] == '\n' || xml[i] == '\t'))
                ++i;
            if (i >= xml.size())
                return "an unterminated tag";
            if (xml[i] == '>' || xml.substr(i, 2) == "/>")
                break;
            if (i == before)
                return "attributes not separated";
            const std::size_t attrStart = i;
            while (i < xml.size() && isNameChar(xml[i]))
                ++i;
            if (i == attrStart || i + 1 >= xml.size() || xml[i] != '=' ||
                (xml[i + 1] != '"' && xml[i + 1] != '\''))
                return "a bad attribute";
            const char quote = xml[i + 1];
            const std::size_t valueEnd = xml.find(quote, i + 2);
            if (valueEnd == std::string_view::npos)
                return "an unterminated attribute value";
            const std::string_view value = xml.substr(i + 2, valueEnd - i - 2);
            if (value.find('<') != std::string_view::npos)
                return "< in an attribute value";
            if (std::string problem = checkText(value); !problem.empty())
                return problem;
            i = valueEnd + 1;
        }
        rootSeen = true;
        if (xml[i] == '/') {
            at = i + 2;
        } else {
            open.push_back(name);
            at = i + 1;
        }
    }
    if (!open.empty())
        return "unclosed elements";
    if (!rootSeen)
        return "no root element";
    return {};
}

} // namespace fw::fuzz
