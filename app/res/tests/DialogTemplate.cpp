#include "DialogTemplate.h"

#include <cstring>

namespace {

// Reads little-endian fields off the template; once a read runs past the end
// every later read fails too.
class Cursor {
public:
    explicit Cursor(const std::string& bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }

    template <typename T>
    T Read() {
        T value{};
        if (!m_ok || m_pos + sizeof(T) > m_bytes.size()) {
            m_ok = false;
            return value;
        }
        std::memcpy(&value, m_bytes.data() + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    std::wstring ReadString() {
        std::wstring s;
        for (;;) {
            const wchar_t c = static_cast<wchar_t>(Read<WORD>());
            if (!m_ok || c == L'\0') return s;
            s += c;
        }
    }

    NameOrOrdinal ReadNameOrOrdinal() {
        NameOrOrdinal result;
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            result.ordinal = Read<WORD>();
        } else if (first != 0) {
            result.name = static_cast<wchar_t>(first);
            result.name += ReadString();
        }
        return result;
    }

    void Skip(size_t n) {
        if (m_pos + n > m_bytes.size()) m_ok = false;
        else m_pos += n;
    }

    void AlignToDword() { Skip((4 - m_pos % 4) % 4); }

private:
    const std::string& m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace

bool ReadDialogTemplateEx(const std::string& bytes, DialogTemplate& out) {
    Cursor in(bytes);
    const WORD version = in.Read<WORD>();
    const WORD signature = in.Read<WORD>();
    if (!in.ok() || version != 1 || signature != 0xFFFF) return false;
    out = DialogTemplate();
    out.helpId = in.Read<DWORD>();
    out.exStyle = in.Read<DWORD>();
    out.style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    out.x = in.Read<short>();
    out.y = in.Read<short>();
    out.cx = in.Read<short>();
    out.cy = in.Read<short>();
    out.menu = in.ReadNameOrOrdinal();
    out.windowClass = in.ReadNameOrOrdinal();
    out.title = in.ReadString();
    if (out.style & DS_SETFONT) {
        out.pointSize = in.Read<WORD>();
        out.weight = in.Read<WORD>();
        out.italic = in.Read<BYTE>();
        out.charset = in.Read<BYTE>();
        out.typeface = in.ReadString();
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.AlignToDword();
        DialogItem item;
        item.helpId = in.Read<DWORD>();
        item.exStyle = in.Read<DWORD>();
        item.style = in.Read<DWORD>();
        item.x = in.Read<short>();
        item.y = in.Read<short>();
        item.cx = in.Read<short>();
        item.cy = in.Read<short>();
        item.id = in.Read<DWORD>();
        item.windowClass = in.ReadNameOrOrdinal();
        item.text = in.ReadNameOrOrdinal();
        in.Skip(in.Read<WORD>());  // creation data
        out.items.push_back(item);
    }
    return in.ok();
}

bool IsPredefinedClass(const NameOrOrdinal& windowClass, WORD ordinal, const wchar_t* name) {
    if (windowClass.ordinal != 0) return windowClass.ordinal == ordinal;
    return ::lstrcmpiW(windowClass.name.c_str(), name) == 0;
}
