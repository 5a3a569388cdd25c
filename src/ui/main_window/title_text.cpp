#include "ui/main_window/title_text.h"

#include <array>

namespace {

struct MonthName {
    const char* abbreviation;
    const char* fullName;
};

// May is missing on purpose: its abbreviation is already the full name.
constexpr std::array<MonthName, 11> MONTH_NAMES{{
    {"Jan", "January"},
    {"Feb", "February"},
    {"Mar", "March"},
    {"Apr", "April"},
    {"Jun", "June"},
    {"Jul", "July"},
    {"Aug", "August"},
    {"Sep", "September"},
    {"Oct", "October"},
    {"Nov", "November"},
    {"Dec", "December"},
}};

std::string textAfterLast(const std::string& text, char separator)
{
    const auto position = text.rfind(separator);
    return position == std::string::npos ? text : text.substr(position + 1);
}

std::string fullMonthName(const std::string& abbreviation)
{
    for (const auto& month : MONTH_NAMES) {
        if (abbreviation == month.abbreviation)
            return month.fullName;
    }
    return abbreviation;
}

}  // namespace

std::string fileNameOf(const std::string& path)
{
    return textAfterLast(textAfterLast(path, '/'), '\\');
}

std::string composeTitle(const std::string& filePath, bool modified, int connectResult)
{
    std::string title = BASE_TITLE;
    if (!filePath.empty()) {
        title += " [";
        if (modified)
            title += "*";
        title += fileNameOf(filePath);
        title += "]";
    }
    title += connectResult == 1 ? " - Connected" : " - Not Connected";
    return title;
}

std::string buildDateText(const std::string& compilerDate)
{
    const std::string month = fullMonthName(compilerDate.substr(0, 3));
    const std::string day = compilerDate[4] == ' ' ? compilerDate.substr(5, 1) : compilerDate.substr(4, 2);
    const std::string year = compilerDate.substr(7, 4);
    return month + " " + day + ", " + year;
}

std::string buildDateText()
{
    return buildDateText(__DATE__);
}

std::string aboutText(const std::string& dateText)
{
    return std::string(BASE_TITLE) + "\nVersion " + versionText + "\n" + dateText + "\nCorvanta Dynamics, Inc.";
}
