// CTime and CTimeSpan: points in time as 64-bit seconds since 1970 (UTC),
// read and built as local calendar time, and spans of seconds.
//
//   CTime start(2024, 3, 10, 0, 20 * 60, 0);   // day + minutes: 20:00 local
//   start.Format(L"%H:%M %d/%m/%Y");           // "20:00 10/03/2024"
//   CTimeSpan(3725).Format(L"%H:%M:%S");       // "01:02:05"
#pragma once

#include <windows.h>

#include <ctime>
#include <string>

class CTimeSpan {
public:
    CTimeSpan(__int64 seconds = 0) : m_seconds(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_seconds(((static_cast<__int64>(days) * 24 + hours) * 60 + minutes) * 60 + seconds)
    {
    }

    __int64 GetTotalSeconds() const { return m_seconds; }
    __int64 GetTotalMinutes() const { return m_seconds / 60; }
    __int64 GetTotalHours() const { return m_seconds / 3600; }
    __int64 GetDays() const { return m_seconds / 86400; }
    // Parts within the day, hour and minute.
    int GetHours() const { return static_cast<int>((m_seconds / 3600) % 24); }
    int GetMinutes() const { return static_cast<int>((m_seconds / 60) % 60); }
    int GetSeconds() const { return static_cast<int>(m_seconds % 60); }

    // %D days, %H hours within the day, %M minutes, %S seconds (two digits
    // each except %D), %% a percent sign; everything else as it stands.
    std::wstring Format(const wchar_t* format) const;

    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_seconds + other.m_seconds); }
    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_seconds - other.m_seconds); }
    bool operator==(CTimeSpan other) const { return m_seconds == other.m_seconds; }
    bool operator!=(CTimeSpan other) const { return m_seconds != other.m_seconds; }
    bool operator<(CTimeSpan other) const { return m_seconds < other.m_seconds; }
    bool operator<=(CTimeSpan other) const { return m_seconds <= other.m_seconds; }
    bool operator>(CTimeSpan other) const { return m_seconds > other.m_seconds; }
    bool operator>=(CTimeSpan other) const { return m_seconds >= other.m_seconds; }

private:
    __int64 m_seconds;
};

class CTime {
public:
    CTime(__time64_t seconds = 0) : m_time(seconds) {}
    // A local calendar time. Fields past their range roll over (day 32 of
    // January is 1 February, minute 90 is 1:30), and with dst -1 the system
    // decides whether daylight saving applies on that day. A time that
    // cannot be represented gives -1 (IsValid false).
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    explicit CTime(const SYSTEMTIME& local, int dst = -1);

    static CTime Now();

    __time64_t GetTime() const { return m_time; }
    bool IsValid() const { return m_time >= 0; }

    // The local calendar fields; false for a time without one.
    bool GetLocalTm(std::tm& fields) const;
    bool GetAsSystemTime(SYSTEMTIME& local) const;
    int GetYear() const { return Field(&std::tm::tm_year) + 1900; }
    int GetMonth() const { return Field(&std::tm::tm_mon) + 1; }
    int GetDay() const { return Field(&std::tm::tm_mday); }
    int GetHour() const { return Field(&std::tm::tm_hour); }
    int GetMinute() const { return Field(&std::tm::tm_min); }
    int GetSecond() const { return Field(&std::tm::tm_sec); }
    // 1 = Sunday ... 7 = Saturday.
    int GetDayOfWeek() const { return Field(&std::tm::tm_wday) + 1; }

    // wcsftime of the local time ("%H:%M %d/%m/%Y"); empty when invalid.
    std::wstring Format(const wchar_t* format) const;

    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTotalSeconds()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTotalSeconds()); }
    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    CTime& operator+=(CTimeSpan span) { m_time += span.GetTotalSeconds(); return *this; }
    CTime& operator-=(CTimeSpan span) { m_time -= span.GetTotalSeconds(); return *this; }
    bool operator==(CTime other) const { return m_time == other.m_time; }
    bool operator!=(CTime other) const { return m_time != other.m_time; }
    bool operator<(CTime other) const { return m_time < other.m_time; }
    bool operator<=(CTime other) const { return m_time <= other.m_time; }
    bool operator>(CTime other) const { return m_time > other.m_time; }
    bool operator>=(CTime other) const { return m_time >= other.m_time; }

private:
    int Field(int std::tm::*field) const;

    __time64_t m_time;
};
