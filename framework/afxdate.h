// Dates and times as OLE DATE values (days since 1899-12-30, the time of day
// as the fraction; before that day the fraction counts forward from the
// day's midnight) with a status, and spans between them.
#pragma once
#include "afxstr.h"
#include <oleauto.h>

// The old system header maps this name to GetTickCount; here it is the
// member that gives the current date and time.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class COleDateTimeSpan;

// The texts that formatting and parsing take from a locale. Tests and any
// caller that needs fixed texts install one with COleDateTime::SetLocaleOverride.
struct COleDateTimeLocale
{
    CString strShortDate;   // date picture, e.g. "M/d/yyyy"
    CString strTime;        // time picture, e.g. "h:mm:ss tt"
    CString strLongDate;    // long date picture, e.g. "dddd, MMMM d, yyyy"
    CString strDateSep;
    CString strTimeSep;
    CString strAM;
    CString strPM;
    CString strMonth[12];
    CString strAbbrevMonth[12];
    CString strDay[7];      // Sunday first
    CString strAbbrevDay[7];

    // The locale's own texts; missing ones come from Invariant.
    static COleDateTimeLocale FromSystem(LCID lcid);
    // "MM/dd/yyyy", "HH:mm:ss", "dddd, MMMM d, yyyy" and English names.
    static COleDateTimeLocale Invariant();
};

class COleDateTime
{
public:
    enum DateTimeStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleDateTime() : m_dt(0), m_status(valid) {}
    COleDateTime(DATE dtSrc);   // invalid outside years 100 to 9999
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    explicit COleDateTime(const SYSTEMTIME& st);

    static COleDateTime GetCurrentTime();   // local time, whole seconds

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // Each -1 unless the value is valid. Day of week: 1 = Sunday .. 7.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;
    int GetDayOfYear() const;

    // 0 (valid) when the fields make a date of years 100 to 9999; otherwise
    // the status becomes invalid and the value is kept.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
    int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

    const COleDateTime& operator=(DATE dtSrc);
    operator DATE() const { return m_dt; }

    // Comparisons follow the calendar (also before 1899-12-30); equality
    // also needs the same status.
    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const { return !(date < *this); }
    bool operator>=(const COleDateTime& date) const { return !(*this < date); }

    COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
    COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
    const COleDateTime& operator+=(const COleDateTimeSpan& dateSpan);
    const COleDateTime& operator-=(const COleDateTimeSpan& dateSpan);
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    // Dates in the locale's short date picture, times in its time picture;
    // the date is left out on 1899-12-30 and the time at midnight, unless
    // dwFlags asks for one part (VAR_DATEVALUEONLY, VAR_TIMEVALUEONLY).
    // An invalid value gives "Invalid DateTime", a null one "".
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;

    // Reads a date and/or time: numbers in the locale's date order (other
    // orders when that one makes no date), month names, two-digit years as
    // 1930-2029, a time as h:m[:s] with an optional AM/PM. A text with only a
    // time lies on 1899-12-30. FALSE (value 0, status invalid) when it is not
    // a date.
    BOOL ParseDateTime(LPCSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    // Null restores the system's texts.
    static void SetLocaleOverride(const COleDateTimeLocale* pLocale);
    static COleDateTimeLocale GetLocale(LCID lcid);

    DATE m_dt;
    DateTimeStatus m_status;
};

class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleDateTimeSpan() : m_span(0), m_status(valid) {}
    COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) {}
    COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    void SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24; }
    double GetTotalMinutes() const { return m_span * 24 * 60; }
    double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }

    // The parts of the span rounded to whole seconds, each with its sign.
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;

    operator double() const { return m_span; }
    bool operator==(const COleDateTimeSpan& s) const { return m_status == s.m_status && m_span == s.m_span; }
    bool operator!=(const COleDateTimeSpan& s) const { return !(*this == s); }
    bool operator<(const COleDateTimeSpan& s) const { return m_span < s.m_span; }
    bool operator>(const COleDateTimeSpan& s) const { return m_span > s.m_span; }
    bool operator<=(const COleDateTimeSpan& s) const { return m_span <= s.m_span; }
    bool operator>=(const COleDateTimeSpan& s) const { return m_span >= s.m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& s) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& s) const;
    COleDateTimeSpan operator-() const;
    const COleDateTimeSpan& operator+=(const COleDateTimeSpan& s) { return *this = *this + s; }
    const COleDateTimeSpan& operator-=(const COleDateTimeSpan& s) { return *this = *this - s; }

    double m_span;
    DateTimeSpanStatus m_status;
};
