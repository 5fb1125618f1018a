#include "framework/Time.h"

#include <cwchar>

std::wstring CTimeSpan::Format(const wchar_t* format) const
{
    std::wstring text;
    if (format == nullptr)
        return text;
    wchar_t number[32];
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        if (*p != L'%' || p[1] == L'\0') {
            text += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case L'D':
            std::swprintf(number, 32, L"%lld", static_cast<long long>(GetDays()));
            text += number;
            break;
        case L'H':
            std::swprintf(number, 32, L"%02d", GetHours());
            text += number;
            break;
        case L'M':
            std::swprintf(number, 32, L"%02d", GetMinutes());
            text += number;
            break;
        case L'S':
            std::swprintf(number, 32, L"%02d", GetSeconds());
            text += number;
            break;
        case L'%':
            text += L'%';
            break;
        default:
            text += L'%';
            text += *p;
            break;
        }
    }
    return text;
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = dst;
    m_time = _mktime64(&fields);
}

CTime::CTime(const SYSTEMTIME& local, int dst)
    : CTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, dst)
{
}

CTime CTime::Now()
{
    return CTime(_time64(nullptr));
}

bool CTime::GetLocalTm(std::tm& fields) const
{
    if (!IsValid())
        return false;
    __time64_t seconds = m_time;
    // The runtime keeps the result per thread.
    const std::tm* local = _localtime64(&seconds);
    if (local == nullptr)
        return false;
    fields = *local;
    return true;
}

bool CTime::GetAsSystemTime(SYSTEMTIME& local) const
{
    std::tm fields{};
    if (!GetLocalTm(fields))
        return false;
    local = SYSTEMTIME{};
    local.wYear = static_cast<WORD>(fields.tm_year + 1900);
    local.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    local.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    local.wDay = static_cast<WORD>(fields.tm_mday);
    local.wHour = static_cast<WORD>(fields.tm_hour);
    local.wMinute = static_cast<WORD>(fields.tm_min);
    local.wSecond = static_cast<WORD>(fields.tm_sec);
    return true;
}

int CTime::Field(int std::tm::*field) const
{
    std::tm fields{};
    return GetLocalTm(fields) ? fields.*field : 0;
}

std::wstring CTime::Format(const wchar_t* format) const
{
    std::tm fields{};
    if (format == nullptr || !GetLocalTm(fields))
        return std::wstring();
    wchar_t text[256];
    const size_t length = std::wcsftime(text, sizeof(text) / sizeof(text[0]), format, &fields);
    return std::wstring(text, length);
}
