// Editable copies of dialog templates: a template loaded from the resources, rebuilt with
// another font, for creating the dialog from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Where the parts of a DLGTEMPLATE or DLGTEMPLATEEX lie, in bytes from its start.
struct CDialogTemplateLayout {
    bool extended = false;    // DLGTEMPLATEEX (signature 0xFFFF)
    size_t styleOffset = 0;   // the style DWORD
    size_t itemCountOffset = 0;
    size_t fontOffset = 0;    // where the font block starts (or would start)
    bool hasFont = false;     // DS_SETFONT: a font block is present
    uint16_t fontWeight = 0;  // of the original font block (DLGTEMPLATEEX only)
    uint8_t fontItalic = 0;
    uint8_t fontCharset = 1;  // DEFAULT_CHARSET
    size_t itemsOffset = 0;   // the first item, DWORD-aligned
};

// Reads the header of the template in bytes[0..size); false when it is cut short or malformed.
bool ParseDialogTemplate(const uint8_t* bytes, size_t size, CDialogTemplateLayout* layout);

// A copy of the template whose font is face at pointSize (face as UTF-16, without its zero).
// The header is rebuilt around the new font block and the items follow unchanged; DS_SETFONT
// is set. Weight, italic and charset of an extended template's own font are kept. The result
// is DWORD-aligned storage, as CreateDialogIndirect requires. False on a malformed template.
bool SetDialogTemplateFont(const uint8_t* bytes, size_t size, const uint16_t* face,
                           size_t faceLength, uint16_t pointSize, std::vector<uint32_t>* out);

// The dialog's style, extended style and item count as stored in the template.
bool ReadDialogTemplateHeader(const uint8_t* bytes, size_t size, uint32_t* style,
                              uint32_t* exStyle, uint16_t* itemCount);

// The font block's point size and face (ASCII faces only; others come back with '?').
bool ReadDialogTemplateFont(const uint8_t* bytes, size_t size, uint16_t* pointSize,
                            char* face, size_t faceSize);
