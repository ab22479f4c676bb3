#include "afxdate.h"
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {
const double kMinDate = -657434.0;                  // 0100-01-01
const double kMaxDate = 2958465.0 + 86399.0 / 86400; // 9999-12-31 23:59:59
const long kSecondsPerDay = 86400;

// Days between 1899-12-30 and the given day of the proleptic Gregorian calendar.
long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;   // 25569: 1970-01-01 as an OLE day
}

void CivilFromDays(long z, int& y, int& m, int& d)
{
    z += 719468 - 25569;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// A DATE on a line that grows with time: the day (calendar) plus the time as
// a positive fraction.
double ToLinear(DATE dt)
{
    double day = std::trunc(dt);
    return day + std::fabs(dt - day);
}

DATE FromLinear(double linear)
{
    double day = std::floor(linear);
    double frac = linear - day;
    return day >= 0 ? day + frac : day - frac;
}

// Splits a DATE into its calendar day and the second of that day, rounded.
void Split(DATE dt, long& day, long& second)
{
    double d = std::trunc(dt);
    day = static_cast<long>(d);
    second = static_cast<long>(std::floor(std::fabs(dt - d) * kSecondsPerDay + 0.5));
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        ++day;
    }
}

struct Fields
{
    int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
};

bool GetFields(const COleDateTime& t, Fields& f)
{
    if (t.GetStatus() != COleDateTime::valid)
        return false;
    long day, second;
    Split(t.m_dt, day, second);
    CivilFromDays(day, f.year, f.month, f.day);
    f.hour = static_cast<int>(second / 3600);
    f.minute = static_cast<int>(second / 60 % 60);
    f.second = static_cast<int>(second % 60);
    // 1899-12-30 was a Saturday.
    f.dayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
    f.dayOfYear = static_cast<int>(day - DaysFromCivil(f.year, 1, 1)) + 1;
    return true;
}

bool MakeDate(int y, int mo, int d, int h, int mi, int s, DATE& dt)
{
    if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h < 0 || h > 23 || mi < 0 ||
        mi > 59 || s < 0 || s > 59)
        return false;
    double day = DaysFromCivil(y, mo, d);
    double frac = (h * 3600.0 + mi * 60.0 + s) / kSecondsPerDay;
    dt = day >= 0 ? day + frac : day - frac;
    return true;
}

bool InRange(DATE dt)
{
    if (!std::isfinite(dt))
        return false;
    double linear = ToLinear(dt);
    return linear >= kMinDate && linear < kMaxDate + 0.5 / kSecondsPerDay;
}

const COleDateTimeLocale* g_pLocaleOverride = nullptr;

CString LocaleText(LCID lcid, LCTYPE type, LPCSTR fallback)
{
    char buf[256];
    int n = ::GetLocaleInfoA(lcid, type, buf, sizeof(buf));
    return n > 1 ? CString(buf) : CString(fallback);
}

// ---------------------------------------------------------------------------
// Formatting by picture

void AppendNumber(CString& out, int value, int width)
{
    char buf[16];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 15);
    while (n < width && n < 15)
        buf[n++] = '0';
    while (n > 0)
        out += buf[--n];
}

CString FormatPicture(const CString& picture, const Fields& f, const COleDateTimeLocale& loc)
{
    CString out;
    int i = 0;
    const int n = picture.GetLength();
    while (i < n) {
        char c = picture[i];
        if (c == '\'') {
            // Quoted literal text; two quotes stand for one.
            ++i;
            while (i < n) {
                if (picture[i] == '\'') {
                    if (i + 1 < n && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        int run = 1;
        while (i + run < n && picture[i + run] == c)
            ++run;
        switch (c) {
        case 'd':
            if (run == 1 || run == 2)
                AppendNumber(out, f.day, run);
            else if (run == 3)
                out += loc.strAbbrevDay[f.dayOfWeek - 1];
            else
                out += loc.strDay[f.dayOfWeek - 1];
            break;
        case 'M':
            if (run == 1 || run == 2)
                AppendNumber(out, f.month, run);
            else if (run == 3)
                out += loc.strAbbrevMonth[f.month - 1];
            else
                out += loc.strMonth[f.month - 1];
            break;
        case 'y':
            if (run <= 2)
                AppendNumber(out, f.year % 100, run);
            else
                AppendNumber(out, f.year, 4);
            break;
        case 'h':
            AppendNumber(out, f.hour % 12 == 0 ? 12 : f.hour % 12, run >= 2 ? 2 : 1);
            break;
        case 'H':
            AppendNumber(out, f.hour, run >= 2 ? 2 : 1);
            break;
        case 'm':
            AppendNumber(out, f.minute, run >= 2 ? 2 : 1);
            break;
        case 's':
            AppendNumber(out, f.second, run >= 2 ? 2 : 1);
            break;
        case 't': {
            const CString& mark = f.hour < 12 ? loc.strAM : loc.strPM;
            out += run == 1 ? mark.Left(1) : mark;
            break;
        }
        case 'g':
            break;   // era: none in the Gregorian calendar
        default:
            for (int k = 0; k < run; ++k)
                out += c;
            break;
        }
        i += run;
    }
    out.TrimRight();
    return out;
}

// ---------------------------------------------------------------------------
// Parsing

struct Token
{
    enum Kind { number, month, dayName, am, pm, dateSep, timeSep } kind;
    int value;    // number value, month 1..12
    int digits;   // digits of a number
};

bool StartsWithNoCase(LPCSTR text, const CString& word)
{
    return !word.IsEmpty() && _strnicmp(text, word, word.GetLength()) == 0;
}

bool IsWordByte(unsigned char c) { return std::isalpha(c) || c >= 0x80; }

// Matches a whole word of the text against a list of names; the longest wins.
int MatchName(LPCSTR p, int wordLen, const CString* names, int count)
{
    for (int i = 0; i < count; ++i)
        if (names[i].GetLength() == wordLen && _strnicmp(p, names[i], wordLen) == 0)
            return i;
    return -1;
}

bool Tokenize(LPCSTR p, const COleDateTimeLocale& loc, std::vector<Token>& tokens)
{
    const COleDateTimeLocale en = COleDateTimeLocale::Invariant();
    while (*p != '\0') {
        unsigned char c = static_cast<unsigned char>(*p);
        if (std::isspace(c) || c == ',') {
            ++p;
        } else if (std::isdigit(c)) {
            int value = 0, digits = 0;
            while (std::isdigit(static_cast<unsigned char>(*p))) {
                if (++digits > 9)
                    return false;
                value = value * 10 + (*p++ - '0');
            }
            tokens.push_back(Token{Token::number, value, digits});
        } else if (c == ':' || StartsWithNoCase(p, loc.strTimeSep)) {
            tokens.push_back(Token{Token::timeSep, 0, 0});
            p += c == ':' ? 1 : loc.strTimeSep.GetLength();
        } else if (c == '/' || c == '-' || c == '.' || StartsWithNoCase(p, loc.strDateSep)) {
            tokens.push_back(Token{Token::dateSep, 0, 0});
            p += (c == '/' || c == '-' || c == '.') ? 1 : loc.strDateSep.GetLength();
        } else if (IsWordByte(c)) {
            int len = 0;
            while (IsWordByte(static_cast<unsigned char>(p[len])))
                ++len;
            // A name may end in a period ("Jan.").
            int m;
            if ((m = MatchName(p, len, loc.strMonth, 12)) >= 0 || (m = MatchName(p, len, loc.strAbbrevMonth, 12)) >= 0 ||
                (m = MatchName(p, len, en.strMonth, 12)) >= 0 || (m = MatchName(p, len, en.strAbbrevMonth, 12)) >= 0)
                tokens.push_back(Token{Token::month, m + 1, 0});
            else if (MatchName(p, len, loc.strDay, 7) >= 0 || MatchName(p, len, loc.strAbbrevDay, 7) >= 0 ||
                     MatchName(p, len, en.strDay, 7) >= 0 || MatchName(p, len, en.strAbbrevDay, 7) >= 0)
                tokens.push_back(Token{Token::dayName, 0, 0});
            else if ((loc.strAM.GetLength() == len && _strnicmp(p, loc.strAM, len) == 0) ||
                     (len <= 2 && _strnicmp(p, "AM", len) == 0))
                tokens.push_back(Token{Token::am, 0, 0});
            else if ((loc.strPM.GetLength() == len && _strnicmp(p, loc.strPM, len) == 0) ||
                     (len <= 2 && _strnicmp(p, "PM", len) == 0))
                tokens.push_back(Token{Token::pm, 0, 0});
            else
                return false;
            p += len;
            if (*p == '.' && tokens.back().kind != Token::am && tokens.back().kind != Token::pm)
                ++p;
        } else {
            return false;
        }
    }
    return true;
}

// The order of day, month and year in a date picture: "MDY", "DMY" or "YMD".
CString DateOrder(const CString& picture)
{
    CString order;
    bool quoted = false;
    for (int i = 0; i < picture.GetLength(); ++i) {
        char c = picture[i];
        if (c == '\'')
            quoted = !quoted;
        if (quoted)
            continue;
        char key = c == 'd' ? 'D' : c == 'M' ? 'M' : c == 'y' ? 'Y' : 0;
        if (key != 0 && order.Find(key) < 0)
            order += key;
    }
    if (order != "MDY" && order != "DMY" && order != "YMD")
        order = "MDY";
    return order;
}

int FullYear(int value, int digits)
{
    if (digits <= 2)
        return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

bool YearLike(const Token& t) { return t.digits >= 3 || t.value > 31; }

int CurrentYear()
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return st.wYear;
}

bool ParseText(LPCSTR text, DWORD dwFlags, const COleDateTimeLocale& loc, DATE& result)
{
    std::vector<Token> tokens;
    if (text == nullptr || !Tokenize(text, loc, tokens))
        return false;

    // The time: a number followed by a time separator starts h:m[:s]; a
    // number followed by AM/PM is an hour alone.
    int hour = 0, minute = 0, second = 0;
    bool haveTime = false;
    int marker = 0;   // 1 AM, 2 PM
    std::vector<Token> dateTokens;
    bool haveMonthName = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        bool startsTime = t.kind == Token::number && !haveTime && i + 1 < tokens.size() &&
                          (tokens[i + 1].kind == Token::timeSep ||
                           ((tokens[i + 1].kind == Token::am || tokens[i + 1].kind == Token::pm) && t.digits <= 2));
        if (startsTime) {
            haveTime = true;
            hour = t.value;
            size_t j = i + 1;
            int parts = 1;
            while (parts < 3 && j + 1 < tokens.size() && tokens[j].kind == Token::timeSep &&
                   tokens[j + 1].kind == Token::number) {
                (parts == 1 ? minute : second) = tokens[j + 1].value;
                if (tokens[j + 1].digits > 2)
                    return false;
                ++parts;
                j += 2;
            }
            if (j < tokens.size() && tokens[j].kind == Token::timeSep)
                return false;
            if (j < tokens.size() && (tokens[j].kind == Token::am || tokens[j].kind == Token::pm)) {
                marker = tokens[j].kind == Token::am ? 1 : 2;
                ++j;
            }
            i = j - 1;
            continue;
        }
        switch (t.kind) {
        case Token::number:
            dateTokens.push_back(t);
            break;
        case Token::month:
            if (haveMonthName)
                return false;
            haveMonthName = true;
            dateTokens.push_back(t);
            break;
        case Token::dateSep:
        case Token::dayName:
            break;
        case Token::am:
        case Token::pm:
            if (!haveTime || marker != 0)
                return false;
            marker = t.kind == Token::am ? 1 : 2;
            break;
        case Token::timeSep:
            return false;
        }
    }
    if (marker != 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }

    // The date.
    int y = 1899, m = 12, d = 30;
    bool haveDate = !dateTokens.empty();
    if (haveDate) {
        std::vector<Token> nums;
        int monthName = 0;
        for (const Token& t : dateTokens) {
            if (t.kind == Token::month) {
                monthName = t.value;
            } else {
                nums.push_back(t);
            }
        }
        if (nums.size() > 3 || (monthName != 0 && nums.size() > 2))
            return false;
        bool ok = false;
        if (monthName != 0) {
            m = monthName;
            if (nums.empty())
                return false;
            if (nums.size() == 1) {
                if (YearLike(nums[0])) {
                    y = FullYear(nums[0].value, nums[0].digits);
                    d = 1;
                } else {
                    y = CurrentYear();
                    d = nums[0].value;
                }
            } else {
                // The year is the one that looks like a year, else the later one.
                size_t yi = YearLike(nums[0]) && !YearLike(nums[1]) ? 0 : 1;
                y = FullYear(nums[yi].value, nums[yi].digits);
                d = nums[1 - yi].value;
            }
            ok = true;
        } else if (nums.size() == 3) {
            CString orders[4] = {YearLike(nums[0]) ? "YMD" : DateOrder(loc.strShortDate), "MDY", "DMY", "YMD"};
            for (const CString& order : orders) {
                int v[3] = {};
                for (int k = 0; k < 3; ++k) {
                    const Token& t = nums[k];
                    switch (order[k]) {
                    case 'Y': v[0] = FullYear(t.value, t.digits); break;
                    case 'M': v[1] = t.value; break;
                    default: v[2] = t.value; break;
                    }
                }
                // A year field must not be written as a day and the other way round.
                int yIndex = order.Find('Y');
                bool yearShape = true;
                for (int k = 0; k < 3; ++k)
                    if (k != yIndex && nums[k].digits > 2)
                        yearShape = false;
                DATE probe;
                if (yearShape && MakeDate(v[0], v[1], v[2], 0, 0, 0, probe)) {
                    y = v[0];
                    m = v[1];
                    d = v[2];
                    ok = true;
                    break;
                }
            }
        } else if (nums.size() == 2) {
            if (YearLike(nums[1]) && !YearLike(nums[0])) {
                m = nums[0].value;
                y = FullYear(nums[1].value, nums[1].digits);
                d = 1;
                ok = true;
            } else if (YearLike(nums[0]) && !YearLike(nums[1])) {
                y = FullYear(nums[0].value, nums[0].digits);
                m = nums[1].value;
                d = 1;
                ok = true;
            } else if (!YearLike(nums[0]) && !YearLike(nums[1])) {
                bool dayFirst = DateOrder(loc.strShortDate) == "DMY";
                m = nums[dayFirst ? 1 : 0].value;
                d = nums[dayFirst ? 0 : 1].value;
                y = CurrentYear();
                ok = true;
            }
        }
        if (!ok)
            return false;
    } else if (!haveTime) {
        return false;
    }

    if (dwFlags & VAR_TIMEVALUEONLY) {
        y = 1899;
        m = 12;
        d = 30;
    }
    if (dwFlags & VAR_DATEVALUEONLY)
        hour = minute = second = 0;
    return MakeDate(y, m, d, hour, minute, second, result);
}
} // namespace

// ---------------------------------------------------------------------------
// Locale texts

COleDateTimeLocale COleDateTimeLocale::Invariant()
{
    static const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
    static const char* days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    COleDateTimeLocale loc;
    loc.strShortDate = "MM/dd/yyyy";
    loc.strTime = "HH:mm:ss";
    loc.strLongDate = "dddd, MMMM d, yyyy";
    loc.strDateSep = "/";
    loc.strTimeSep = ":";
    loc.strAM = "AM";
    loc.strPM = "PM";
    for (int i = 0; i < 12; ++i) {
        loc.strMonth[i] = months[i];
        loc.strAbbrevMonth[i] = CString(months[i]).Left(3);
    }
    for (int i = 0; i < 7; ++i) {
        loc.strDay[i] = days[i];
        loc.strAbbrevDay[i] = CString(days[i]).Left(3);
    }
    return loc;
}

COleDateTimeLocale COleDateTimeLocale::FromSystem(LCID lcid)
{
    COleDateTimeLocale en = Invariant();
    COleDateTimeLocale loc;
    loc.strShortDate = LocaleText(lcid, LOCALE_SSHORTDATE, en.strShortDate);
    loc.strTime = LocaleText(lcid, LOCALE_STIMEFORMAT, en.strTime);
    loc.strLongDate = LocaleText(lcid, LOCALE_SLONGDATE, en.strLongDate);
    loc.strDateSep = LocaleText(lcid, LOCALE_SDATE, en.strDateSep);
    loc.strTimeSep = LocaleText(lcid, LOCALE_STIME, en.strTimeSep);
    loc.strAM = LocaleText(lcid, LOCALE_S1159, en.strAM);
    loc.strPM = LocaleText(lcid, LOCALE_S2359, en.strPM);
    for (int i = 0; i < 12; ++i) {
        loc.strMonth[i] = LocaleText(lcid, LOCALE_SMONTHNAME1 + i, en.strMonth[i]);
        loc.strAbbrevMonth[i] = LocaleText(lcid, LOCALE_SABBREVMONTHNAME1 + i, en.strAbbrevMonth[i]);
    }
    // The locale numbers days from Monday; Sunday is its seventh.
    for (int i = 0; i < 7; ++i) {
        int n = (i + 6) % 7;
        loc.strDay[i] = LocaleText(lcid, LOCALE_SDAYNAME1 + n, en.strDay[i]);
        loc.strAbbrevDay[i] = LocaleText(lcid, LOCALE_SABBREVDAYNAME1 + n, en.strAbbrevDay[i]);
    }
    return loc;
}

void COleDateTime::SetLocaleOverride(const COleDateTimeLocale* pLocale) { g_pLocaleOverride = pLocale; }

COleDateTimeLocale COleDateTime::GetLocale(LCID lcid)
{
    return g_pLocaleOverride != nullptr ? *g_pLocaleOverride : COleDateTimeLocale::FromSystem(lcid);
}

// ---------------------------------------------------------------------------
// COleDateTime

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(InRange(dtSrc) ? valid : invalid) {}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) : m_dt(0), m_status(valid)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& st) : m_dt(0), m_status(valid)
{
    SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

COleDateTime COleDateTime::GetCurrentTime()
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return COleDateTime(st);
}

const COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = InRange(dtSrc) ? valid : invalid;
    return *this;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    DATE dt;
    if (MakeDate(nYear, nMonth, nDay, nHour, nMin, nSec, dt)) {
        m_dt = dt;
        m_status = valid;
    } else {
        m_status = invalid;
    }
    return m_status;
}

int COleDateTime::GetYear() const
{
    Fields f;
    return GetFields(*this, f) ? f.year : -1;
}
int COleDateTime::GetMonth() const
{
    Fields f;
    return GetFields(*this, f) ? f.month : -1;
}
int COleDateTime::GetDay() const
{
    Fields f;
    return GetFields(*this, f) ? f.day : -1;
}
int COleDateTime::GetHour() const
{
    Fields f;
    return GetFields(*this, f) ? f.hour : -1;
}
int COleDateTime::GetMinute() const
{
    Fields f;
    return GetFields(*this, f) ? f.minute : -1;
}
int COleDateTime::GetSecond() const
{
    Fields f;
    return GetFields(*this, f) ? f.second : -1;
}
int COleDateTime::GetDayOfWeek() const
{
    Fields f;
    return GetFields(*this, f) ? f.dayOfWeek : -1;
}
int COleDateTime::GetDayOfYear() const
{
    Fields f;
    return GetFields(*this, f) ? f.dayOfYear : -1;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && ToLinear(m_dt) == ToLinear(date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const { return ToLinear(m_dt) < ToLinear(date.m_dt); }

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const
{
    COleDateTime result;
    if (m_status != valid || dateSpan.m_status != COleDateTimeSpan::valid) {
        result.m_status = invalid;
        return result;
    }
    result = FromLinear(ToLinear(m_dt) + dateSpan.m_span);
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const { return *this + (-dateSpan); }

const COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& dateSpan) { return *this = *this + dateSpan; }

const COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& dateSpan) { return *this = *this - dateSpan; }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan span(ToLinear(m_dt) - ToLinear(date.m_dt));
    if (m_status != valid || date.m_status != valid)
        span.m_status = COleDateTimeSpan::invalid;
    return span;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    if (m_status == null)
        return CString();
    Fields f;
    if (!GetFields(*this, f))
        return CString("Invalid DateTime");
    long day, second;
    Split(m_dt, day, second);
    const COleDateTimeLocale loc = GetLocale(lcid);
    bool showDate = (dwFlags & VAR_TIMEVALUEONLY) == 0 && (day != 0 || (dwFlags & VAR_DATEVALUEONLY) != 0);
    bool showTime = (dwFlags & VAR_DATEVALUEONLY) == 0 && (second != 0 || !showDate);
    CString text;
    if (showDate)
        text = FormatPicture(loc.strShortDate, f, loc);
    if (showTime) {
        if (!text.IsEmpty())
            text += ' ';
        text += FormatPicture(loc.strTime, f, loc);
    }
    return text;
}

BOOL COleDateTime::ParseDateTime(LPCSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    DATE dt;
    if (!ParseText(lpszDate, dwFlags, GetLocale(lcid), dt)) {
        m_dt = 0;
        m_status = invalid;
        return FALSE;
    }
    m_dt = dt;
    m_status = valid;
    return TRUE;
}

// ---------------------------------------------------------------------------
// COleDateTimeSpan

COleDateTimeSpan::COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs) : m_span(0), m_status(valid)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + (nHours * 3600.0 + nMins * 60.0 + nSecs) / kSecondsPerDay;
    m_status = valid;
}

namespace {
long long TotalSeconds(double span) { return std::llround(span * kSecondsPerDay); }
} // namespace

long COleDateTimeSpan::GetDays() const { return static_cast<long>(TotalSeconds(m_span) / kSecondsPerDay); }
long COleDateTimeSpan::GetHours() const { return static_cast<long>(TotalSeconds(m_span) / 3600 % 24); }
long COleDateTimeSpan::GetMinutes() const { return static_cast<long>(TotalSeconds(m_span) / 60 % 60); }
long COleDateTimeSpan::GetSeconds() const { return static_cast<long>(TotalSeconds(m_span) % 60); }

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& s) const
{
    COleDateTimeSpan r(m_span + s.m_span);
    if (m_status != valid || s.m_status != valid)
        r.m_status = invalid;
    return r;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& s) const
{
    COleDateTimeSpan r(m_span - s.m_span);
    if (m_status != valid || s.m_status != valid)
        r.m_status = invalid;
    return r;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan r(-m_span);
    r.m_status = m_status;
    return r;
}
