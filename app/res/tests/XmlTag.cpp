#include "XmlTag.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Position of the '<' of the index-th start tag of `name`, or npos.
size_t FindStartTag(const std::string& xml, const std::string& name, int index) {
    for (size_t lt = xml.find('<'); lt != std::string::npos; lt = xml.find('<', lt + 1)) {
        size_t nameStart = lt + 1;
        const size_t nameEnd = xml.find_first_of(" \t\r\n/>", nameStart);
        if (nameEnd == std::string::npos) return std::string::npos;
        const size_t colon = xml.find(':', nameStart);
        if (colon != std::string::npos && colon < nameEnd) nameStart = colon + 1;
        if (xml.compare(nameStart, nameEnd - nameStart, name) == 0 && index-- == 0) return lt;
    }
    return std::string::npos;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b])) ++b;
    while (e > b && IsSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

}  // namespace

std::string XmlStartTag(const std::string& xml, const std::string& name, int index) {
    const size_t lt = FindStartTag(xml, name, index);
    if (lt == std::string::npos) return std::string();
    const size_t gt = xml.find('>', lt);
    if (gt == std::string::npos) return std::string();
    return xml.substr(lt + 1, gt - lt - 1);
}

std::string XmlAttribute(const std::string& tag, const std::string& name) {
    for (size_t at = tag.find(name); at != std::string::npos; at = tag.find(name, at + 1)) {
        if (at == 0 || !IsSpace(tag[at - 1])) continue;
        size_t p = at + name.size();
        while (p < tag.size() && IsSpace(tag[p])) ++p;
        if (p >= tag.size() || tag[p] != '=') continue;
        ++p;
        while (p < tag.size() && IsSpace(tag[p])) ++p;
        if (p >= tag.size() || (tag[p] != '"' && tag[p] != '\'')) continue;
        const size_t close = tag.find(tag[p], p + 1);
        if (close == std::string::npos) break;
        return tag.substr(p + 1, close - p - 1);
    }
    return "(missing)";
}

std::string XmlElementText(const std::string& xml, const std::string& name, int index) {
    const size_t lt = FindStartTag(xml, name, index);
    if (lt == std::string::npos) return std::string();
    const size_t gt = xml.find('>', lt);
    if (gt == std::string::npos || xml[gt - 1] == '/') return std::string();
    const size_t next = xml.find('<', gt);
    return Trim(xml.substr(gt + 1, next == std::string::npos ? std::string::npos : next - gt - 1));
}
