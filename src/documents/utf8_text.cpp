#include "documents/utf8_text.h"

#include <cstdint>

namespace {

struct SequenceForm {
    uint8_t leadMask;  // the lead byte's bits that carry the code point
    size_t length;
    uint32_t smallest;  // anything below has a shorter form
};

// The form a lead byte begins; length 0 for a byte no sequence begins with.
SequenceForm formOf(uint8_t lead)
{
    if (lead < 0x80)
        return {0x7F, 1, 0};
    if ((lead & 0xE0) == 0xC0)
        return {0x1F, 2, 0x80};
    if ((lead & 0xF0) == 0xE0)
        return {0x0F, 3, 0x800};
    if ((lead & 0xF8) == 0xF0)
        return {0x07, 4, 0x10000};
    return {0, 0, 0};
}

}  // namespace

bool isValidUtf8(const std::string& text)
{
    size_t at = 0;
    while (at < text.size()) {
        const SequenceForm form = formOf(static_cast<uint8_t>(text[at]));
        if (form.length == 0 || text.size() - at < form.length)
            return false;
        uint32_t code = static_cast<uint8_t>(text[at]) & form.leadMask;
        for (size_t i = 1; i < form.length; ++i) {
            const uint8_t next = static_cast<uint8_t>(text[at + i]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        if (code < form.smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        at += form.length;
    }
    return true;
}
