// Editable copies of dialog templates: a template loaded from the resources, rebuilt with
// another font, for creating the dialog from memory.
#include "platform/win32/dialog_template.h"

#include <cstring>

namespace {

const uint32_t TEMPLATE_DS_SETFONT = 0x40;

// A bounds-checked reader over the template bytes: every read past the end fails the parse
// instead of reading beyond the resource.
class CTemplateReader {
public:
    CTemplateReader(const uint8_t* bytes, size_t size) : bytes(bytes), size(size), pos(0), ok(true) {}

    uint16_t Word()
    {
        if (!Need(2)) return 0;
        uint16_t v = static_cast<uint16_t>(bytes[pos] | (bytes[pos + 1] << 8));
        pos += 2;
        return v;
    }
    uint32_t Dword()
    {
        uint32_t low = Word();
        uint32_t high = Word();
        return low | (high << 16);
    }
    uint8_t Byte()
    {
        if (!Need(1)) return 0;
        return bytes[pos++];
    }
    void Skip(size_t n)
    {
        if (Need(n)) pos += n;
    }
    // sz_Or_Ord: 0x0000 (none), 0xFFFF and an ordinal, or a zero-terminated UTF-16 string.
    void SkipSzOrOrd()
    {
        uint16_t first = Word();
        if (!ok || first == 0x0000) return;
        if (first == 0xFFFF) {
            Word();
            return;
        }
        SkipString();
    }
    // A zero-terminated UTF-16 string (its first character may already have been read).
    void SkipString()
    {
        while (ok && Word() != 0) {
        }
    }
    void AlignDword()
    {
        size_t aligned = (pos + 3) & ~static_cast<size_t>(3);
        // Trailing padding may be missing at the very end of a template without items.
        pos = aligned <= size ? aligned : size;
    }

    size_t Pos() const { return pos; }
    bool Ok() const { return ok; }

private:
    bool Need(size_t n)
    {
        if (!ok || n > size - pos) {
            ok = false;
            return false;
        }
        return true;
    }

    const uint8_t* bytes;
    size_t size;
    size_t pos;
    bool ok;
};

void PutWord(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

uint32_t GetDword(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void SetDword(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

bool ParseDialogTemplate(const uint8_t* bytes, size_t size, CDialogTemplateLayout* layout)
{
    if (!bytes || !layout) return false;
    CDialogTemplateLayout result;
    CTemplateReader reader(bytes, size);
    uint16_t first = reader.Word();
    uint16_t second = reader.Word();
    if (!reader.Ok()) return false;
    uint32_t style;
    if (first == 1 && second == 0xFFFF) {
        // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
        result.extended = true;
        reader.Dword();  // helpID
        reader.Dword();  // exStyle
        result.styleOffset = reader.Pos();
        style = reader.Dword();
        result.itemCountOffset = reader.Pos();
        reader.Word();
    } else {
        // DLGTEMPLATE: style, dwExtendedStyle, cdit, x, y, cx, cy.
        result.styleOffset = 0;
        style = static_cast<uint32_t>(first) | (static_cast<uint32_t>(second) << 16);
        reader.Dword();  // dwExtendedStyle
        result.itemCountOffset = reader.Pos();
        reader.Word();
    }
    reader.Skip(8);        // x, y, cx, cy
    reader.SkipSzOrOrd();  // menu
    reader.SkipSzOrOrd();  // window class
    reader.SkipString();   // title
    if (!reader.Ok()) return false;
    result.fontOffset = reader.Pos();
    result.hasFont = (style & TEMPLATE_DS_SETFONT) != 0;
    if (result.hasFont) {
        reader.Word();  // point size
        if (result.extended) {
            result.fontWeight = reader.Word();
            result.fontItalic = reader.Byte();
            result.fontCharset = reader.Byte();
        }
        reader.SkipString();  // face
        if (!reader.Ok()) return false;
    }
    reader.AlignDword();
    result.itemsOffset = reader.Pos();
    *layout = result;
    return true;
}

bool SetDialogTemplateFont(const uint8_t* bytes, size_t size, const uint16_t* face,
                           size_t faceLength, uint16_t pointSize, std::vector<uint32_t>* out)
{
    if (!out || (!face && faceLength > 0)) return false;
    CDialogTemplateLayout layout;
    if (!ParseDialogTemplate(bytes, size, &layout)) return false;

    std::vector<uint8_t> built(bytes, bytes + layout.fontOffset);
    SetDword(&built[layout.styleOffset], GetDword(&built[layout.styleOffset]) | TEMPLATE_DS_SETFONT);
    PutWord(built, pointSize);
    if (layout.extended) {
        PutWord(built, layout.fontWeight);
        built.push_back(layout.fontItalic);
        built.push_back(layout.fontCharset);
    }
    for (size_t i = 0; i < faceLength; ++i) PutWord(built, face[i]);
    PutWord(built, 0);
    // Items start on a DWORD boundary; both templates keep their items at such an offset, so
    // the item bytes are copied unchanged.
    while (built.size() % 4 != 0) built.push_back(0);
    built.insert(built.end(), bytes + layout.itemsOffset, bytes + size);

    out->assign((built.size() + 3) / 4, 0);
    memcpy(out->data(), built.data(), built.size());
    return true;
}

bool ReadDialogTemplateHeader(const uint8_t* bytes, size_t size, uint32_t* style,
                              uint32_t* exStyle, uint16_t* itemCount)
{
    CDialogTemplateLayout layout;
    if (!ParseDialogTemplate(bytes, size, &layout)) return false;
    if (style) *style = GetDword(bytes + layout.styleOffset);
    if (exStyle) *exStyle = GetDword(bytes + (layout.extended ? 8 : 4));
    if (itemCount) {
        *itemCount = static_cast<uint16_t>(bytes[layout.itemCountOffset] |
                                           (bytes[layout.itemCountOffset + 1] << 8));
    }
    return true;
}

bool ReadDialogTemplateFont(const uint8_t* bytes, size_t size, uint16_t* pointSize,
                            char* face, size_t faceSize)
{
    CDialogTemplateLayout layout;
    if (!ParseDialogTemplate(bytes, size, &layout) || !layout.hasFont) return false;
    CTemplateReader reader(bytes + layout.fontOffset, size - layout.fontOffset);
    uint16_t points = reader.Word();
    if (layout.extended) reader.Skip(4);
    size_t n = 0;
    for (;;) {
        uint16_t c = reader.Word();
        if (!reader.Ok()) return false;
        if (c == 0) break;
        if (face && n + 1 < faceSize) face[n++] = c < 0x80 ? static_cast<char>(c) : '?';
    }
    if (face && faceSize > 0) face[n] = '\0';
    if (pointSize) *pointSize = points;
    return true;
}
