#include "ui/editor/bounded_int_text.h"

#include <locale>
#include <sstream>

int32_t parseIntText(const std::string& text)
{
    std::istringstream stream(text.substr(0, BOUNDED_INT_TEXT_LIMIT));
    stream.imbue(std::locale::classic());
    int32_t value = 0;
    if (!(stream >> value))
        return 0;
    return value;
}

int32_t clampToRange(int32_t value, int32_t minimum, int32_t maximum)
{
    if (value < minimum)
        return minimum;
    if (value > maximum)
        return maximum;
    return value;
}

std::string decimalText(int32_t value)
{
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}
