#include <gtest/gtest.h>
#include "f0_testutil.h"
#include <cmath>
#include <stdexcept>

namespace {
COleDateTimeLocale EnglishUS()
{
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    loc.strShortDate = "M/d/yyyy";
    loc.strTime = "h:mm:ss tt";
    return loc;
}

COleDateTimeLocale German()
{
    COleDateTimeLocale loc = COleDateTimeLocale::Invariant();
    loc.strShortDate = "dd.MM.yyyy";
    loc.strTime = "HH:mm:ss";
    loc.strDateSep = ".";
    loc.strMonth[0] = "Januar";
    loc.strAbbrevMonth[2] = "Mrz";
    return loc;
}

// Installs fixed locale texts for one test.
class LocaleScope
{
public:
    explicit LocaleScope(const COleDateTimeLocale& loc) : m_loc(loc) { COleDateTime::SetLocaleOverride(&m_loc); }
    ~LocaleScope() { COleDateTime::SetLocaleOverride(nullptr); }

private:
    COleDateTimeLocale m_loc;
};

struct Stamp
{
    int y, mo, d, h, mi, s;
};

::testing::AssertionResult Is(const COleDateTime& t, Stamp e)
{
    if (t.GetStatus() != COleDateTime::valid)
        return ::testing::AssertionFailure() << "status " << t.GetStatus();
    Stamp got{t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond()};
    if (got.y == e.y && got.mo == e.mo && got.d == e.d && got.h == e.h && got.mi == e.mi && got.s == e.s)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got.y << "-" << got.mo << "-" << got.d << " " << got.h << ":" << got.mi << ":"
                                         << got.s;
}
} // namespace

TEST(Date, FieldsAndDateValues)
{
    struct Case
    {
        Stamp s;
        DATE dt;
        int dayOfWeek;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0, 7},
        {{1899, 12, 31, 0, 0, 0}, 1.0, 1},
        {{1900, 1, 1, 0, 0, 0}, 2.0, 2},
        {{1899, 12, 29, 6, 0, 0}, -1.25, 6},
        {{1998, 1, 5, 0, 0, 0}, 35800.0, 2},
        {{2024, 2, 29, 12, 0, 0}, 45351.5, 5},
        {{100, 1, 1, 0, 0, 0}, -657434.0, 6},
        {{9999, 12, 31, 0, 0, 0}, 2958465.0, 6},
    };
    for (const Case& c : cases) {
        COleDateTime t(c.s.y, c.s.mo, c.s.d, c.s.h, c.s.mi, c.s.s);
        EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
        EXPECT_DOUBLE_EQ(t.m_dt, c.dt) << c.s.y;
        COleDateTime back(c.dt);
        EXPECT_TRUE(Is(back, c.s)) << c.dt;
        EXPECT_EQ(back.GetDayOfWeek(), c.dayOfWeek) << c.dt;
    }
    EXPECT_EQ(COleDateTime(2024, 12, 31, 0, 0, 0).GetDayOfYear(), 366);

    // Times round to the nearest second, also over midnight.
    EXPECT_TRUE(Is(COleDateTime(0.99999999), {1899, 12, 31, 0, 0, 0}));
    EXPECT_TRUE(Is(COleDateTime(1.0 + 1.4 / 86400), {1899, 12, 31, 0, 0, 1}));
}

TEST(Date, InvalidFieldsAndRange)
{
    Stamp bad[] = {{2023, 2, 29, 0, 0, 0}, {99, 12, 31, 0, 0, 0}, {10000, 1, 1, 0, 0, 0}, {2000, 13, 1, 0, 0, 0},
                   {2000, 1, 0, 0, 0, 0},  {2000, 1, 1, 24, 0, 0}, {2000, 1, 1, 0, 60, 0},  {2000, 1, 1, 0, 0, 60}};
    for (const Stamp& s : bad) {
        COleDateTime t(2000, 1, 1, 0, 0, 0);
        EXPECT_EQ(t.SetDateTime(s.y, s.mo, s.d, s.h, s.mi, s.s), COleDateTime::invalid) << s.y << "-" << s.mo;
        EXPECT_EQ(t.GetYear(), -1);
        EXPECT_EQ(t.Format(), "Invalid DateTime");
    }
    EXPECT_EQ(COleDateTime(2958466.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(-657435.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(NAN).GetStatus(), COleDateTime::invalid);
    COleDateTime n;
    n.SetStatus(COleDateTime::null);
    EXPECT_EQ(n.Format(), "");
    // Moving past the last day makes the result invalid.
    EXPECT_EQ((COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(1, 0, 0, 0)).GetStatus(), COleDateTime::invalid);
}

TEST(Date, OrderAndArithmeticFollowTheCalendarBefore1900)
{
    COleDateTime morning(1899, 12, 29, 6, 0, 0), midnight(1899, 12, 29, 0, 0, 0), evening(1899, 12, 29, 18, 0, 0);
    EXPECT_LT(midnight, morning);
    EXPECT_LT(morning, evening);
    EXPECT_GT(COleDateTime(1899, 12, 30, 0, 0, 0), evening);
    EXPECT_TRUE(Is(morning + COleDateTimeSpan(0, 12, 0, 0), {1899, 12, 29, 18, 0, 0}));
    EXPECT_TRUE(Is(morning + COleDateTimeSpan(1, 0, 0, 0), {1899, 12, 30, 6, 0, 0}));
    EXPECT_TRUE(Is(COleDateTime(1900, 1, 1, 3, 0, 0) - COleDateTimeSpan(3, 0, 0, 0), {1899, 12, 29, 3, 0, 0}));
    EXPECT_DOUBLE_EQ((COleDateTime(1899, 12, 31, 6, 0, 0) - evening).GetTotalDays(), 1.5);
    EXPECT_DOUBLE_EQ((COleDateTime(2000, 3, 1, 0, 0, 0) - COleDateTime(2000, 2, 1, 0, 0, 0)).GetTotalDays(), 29.0);

    COleDateTime t(2000, 1, 31, 23, 59, 59);
    t += COleDateTimeSpan(0, 0, 0, 1);
    EXPECT_TRUE(Is(t, {2000, 2, 1, 0, 0, 0}));
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ((invalid + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_NE(invalid, COleDateTime(0.0));
}

TEST(Date, SpanParts)
{
    struct Case
    {
        COleDateTimeSpan span;
        long d, h, m, s;
    } cases[] = {
        {COleDateTimeSpan(1, 2, 3, 4), 1, 2, 3, 4},
        {-COleDateTimeSpan(1, 2, 3, 4), -1, -2, -3, -4},
        {COleDateTimeSpan(0, 0, 0, 90061), 1, 1, 1, 1},
        {COleDateTimeSpan(0.5), 0, 12, 0, 0},
        {COleDateTimeSpan(2.0 - 0.2 / 86400), 2, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.span.GetDays(), c.d);
        EXPECT_EQ(c.span.GetHours(), c.h);
        EXPECT_EQ(c.span.GetMinutes(), c.m);
        EXPECT_EQ(c.span.GetSeconds(), c.s);
    }
    EXPECT_DOUBLE_EQ(COleDateTimeSpan(0, 1, 0, 0).GetTotalSeconds(), 3600.0);
    EXPECT_LT(COleDateTimeSpan(0, 1, 0, 0), COleDateTimeSpan(0, 0, 61, 0));
}

TEST(Date, FormatFollowsTheLocalePictures)
{
    LocaleScope us(EnglishUS());
    struct Case
    {
        COleDateTime t;
        DWORD flags;
        const char* text;
    } cases[] = {
        {COleDateTime(1998, 1, 5, 15, 4, 5), 0, "1/5/1998 3:04:05 PM"},
        {COleDateTime(1998, 1, 5, 0, 0, 0), 0, "1/5/1998"},
        {COleDateTime(1899, 12, 30, 15, 4, 5), 0, "3:04:05 PM"},
        {COleDateTime(0.0), 0, "12:00:00 AM"},
        {COleDateTime(1998, 1, 5, 15, 4, 5), VAR_DATEVALUEONLY, "1/5/1998"},
        {COleDateTime(1998, 1, 5, 15, 4, 5), VAR_TIMEVALUEONLY, "3:04:05 PM"},
        {COleDateTime(1899, 12, 30, 0, 0, 0), VAR_DATEVALUEONLY, "12/30/1899"},
        {COleDateTime(100, 1, 1, 0, 0, 1), 0, "1/1/0100 12:00:01 AM"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.t.Format(c.flags, LANG_USER_DEFAULT), c.text);

    COleDateTimeLocale named = EnglishUS();
    named.strShortDate = "dddd, MMMM dd, yyyy 'at' ddd MMM yy";
    named.strTime = "HH:mm";
    LocaleScope names(named);
    EXPECT_EQ(COleDateTime(1998, 1, 5, 7, 8, 0).Format(), "Monday, January 05, 1998 at Mon Jan 98 07:08");

    LocaleScope de(German());
    EXPECT_EQ(COleDateTime(1998, 1, 5, 15, 4, 5).Format(), "05.01.1998 15:04:05");
}

TEST(Date, ParseTexts)
{
    LocaleScope us(EnglishUS());
    struct Case
    {
        const char* text;
        Stamp s;
    } good[] = {
        {"1/5/1998", {1998, 1, 5, 0, 0, 0}},
        {"1/5/98", {1998, 1, 5, 0, 0, 0}},
        {"1/5/29", {2029, 1, 5, 0, 0, 0}},
        {"1/5/30", {1930, 1, 5, 0, 0, 0}},
        {"13/1/1998", {1998, 1, 13, 0, 0, 0}},
        {"1998-01-05", {1998, 1, 5, 0, 0, 0}},
        {"12/30/1899", {1899, 12, 30, 0, 0, 0}},
        {"January 5, 1998", {1998, 1, 5, 0, 0, 0}},
        {"5 Jan 1998", {1998, 1, 5, 0, 0, 0}},
        {"Mon, Jan. 5 1998", {1998, 1, 5, 0, 0, 0}},
        {"  1/5/1998   3:04:05 PM ", {1998, 1, 5, 15, 4, 5}},
        {"1/5/1998 15:04", {1998, 1, 5, 15, 4, 0}},
        {"10:30", {1899, 12, 30, 10, 30, 0}},
        {"3 PM", {1899, 12, 30, 15, 0, 0}},
        {"12:00:00 AM", {1899, 12, 30, 0, 0, 0}},
        {"12:15 pm", {1899, 12, 30, 12, 15, 0}},
        {"2/29/2000", {2000, 2, 29, 0, 0, 0}},
        {"1/1/100", {100, 1, 1, 0, 0, 0}},
        {"12/31/9999 23:59:59", {9999, 12, 31, 23, 59, 59}},
    };
    for (const Case& c : good) {
        COleDateTime t;
        EXPECT_TRUE(t.ParseDateTime(c.text, 0, LANG_USER_DEFAULT)) << c.text;
        EXPECT_TRUE(Is(t, c.s)) << c.text;
    }

    const char* bad[] = {"", "   ", "abc", "2/30/1998", "25:00", "1/5/1998 3:04:05 XM", "10:", "1:2:3:4",
                         "1/5/1998/7", "13:00 PM", "5", "1/5/10000", "Jan Feb 1998", "1/5/1998 #"};
    for (const char* text : bad) {
        COleDateTime t(2000, 1, 1, 0, 0, 0);
        EXPECT_FALSE(t.ParseDateTime(text)) << text;
        EXPECT_EQ(t.GetStatus(), COleDateTime::invalid) << text;
        EXPECT_EQ(t.m_dt, 0.0) << text;
    }

    COleDateTime t;
    ASSERT_TRUE(t.ParseDateTime("1/5/1998 15:04", VAR_TIMEVALUEONLY));
    EXPECT_TRUE(Is(t, {1899, 12, 30, 15, 4, 0}));
    ASSERT_TRUE(t.ParseDateTime("1/5/1998 15:04", VAR_DATEVALUEONLY));
    EXPECT_TRUE(Is(t, {1998, 1, 5, 0, 0, 0}));

    LocaleScope de(German());
    struct Case2
    {
        const char* text;
        Stamp s;
    } dayFirst[] = {
        {"5.1.1998", {1998, 1, 5, 0, 0, 0}},
        {"05.01.1998 15:04:05", {1998, 1, 5, 15, 4, 5}},
        {"5. Januar 1998", {1998, 1, 5, 0, 0, 0}},
        {"1 Mrz 2001", {2001, 3, 1, 0, 0, 0}},
    };
    for (const Case2& c : dayFirst) {
        EXPECT_TRUE(t.ParseDateTime(c.text)) << c.text;
        EXPECT_TRUE(Is(t, c.s)) << c.text;
    }
    ASSERT_TRUE(t.ParseDateTime("1/5"));
    EXPECT_EQ(t.GetMonth(), 5);
    EXPECT_EQ(t.GetDay(), 1);
    EXPECT_EQ(t.GetYear(), COleDateTime::GetCurrentTime().GetYear());
}

TEST(Date, FormatThenParseRoundTrips)
{
    const Stamp stamps[] = {{1950, 6, 15, 0, 0, 0},   {1999, 12, 31, 23, 59, 59}, {2000, 2, 29, 12, 0, 0},
                            {2020, 10, 1, 0, 0, 1},   {1899, 12, 30, 13, 14, 15}, {1930, 1, 1, 0, 0, 0},
                            {2029, 12, 31, 11, 0, 0}, {1972, 7, 4, 9, 5, 3}};
    auto check = [&](const char* which) {
        for (const Stamp& s : stamps) {
            COleDateTime t(s.y, s.mo, s.d, s.h, s.mi, s.s);
            CString text = t.Format();
            COleDateTime back;
            EXPECT_TRUE(back.ParseDateTime(text)) << which << ": " << static_cast<LPCSTR>(text);
            EXPECT_EQ(back, t) << which << ": " << static_cast<LPCSTR>(text);
        }
    };
    // Whatever locale the machine has...
    check("system");
    // ...and fixed ones.
    {
        LocaleScope us(EnglishUS());
        check("en");
    }
    {
        LocaleScope de(German());
        check("de");
    }
    {
        COleDateTimeLocale named = EnglishUS();
        named.strShortDate = "dddd, d MMMM yyyy";
        LocaleScope names(named);
        check("names");
    }
}

TEST(Date, CurrentTimeIsNow)
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    COleDateTime now = COleDateTime::GetCurrentTime();
    ASSERT_EQ(now.GetStatus(), COleDateTime::valid);
    COleDateTime then(st);
    EXPECT_LT(std::fabs((now - then).GetTotalSeconds()), 5.0);
}

// ---------------------------------------------------------------------------
// Threads

namespace {
struct Shared
{
    CEvent* go;
    DWORD uiThread;
    int seen;
};
} // namespace

TEST(Thread, WorkerRunsPostsAndEnds)
{
    CEvent go;
    Shared shared{&go, ::GetCurrentThreadId(), 0};
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);   // gives this thread a queue
    CWorkerThread worker;
    ASSERT_TRUE(worker.Start(
        [](LPVOID p) -> UINT {
            Shared* s = static_cast<Shared*>(p);
            if (!s->go->Lock(5000))
                return 1;
            s->seen = 1;
            ::PostThreadMessageA(s->uiThread, WM_USER + 128, 0, 0x1234);
            return 42;
        },
        &shared));
    EXPECT_FALSE(worker.Start([](LPVOID) -> UINT { return 0; }, nullptr));   // one thread per object
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_EQ(worker.GetExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    go.SetEvent();
    ASSERT_TRUE(worker.Wait(5000));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.GetExitCode(), 42u);
    EXPECT_EQ(shared.seen, 1);
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_USER + 128, WM_USER + 128, PM_REMOVE));
    EXPECT_EQ(msg.lParam, 0x1234);
}

namespace {
// An exception that counts its live objects.
struct CCounted : public CException
{
    static int live;
    CCounted() { ++live; }
    ~CCounted() override { --live; }
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT) override
    {
        lstrcpynA(lpszError, "counted failure", (int)nMaxError);
        return TRUE;
    }
};
int CCounted::live = 0;
} // namespace

TEST(Thread, TerminateAndExceptionsEndTheThreadOnly)
{
    CEvent never(FALSE, TRUE);
    CWorkerThread blocked;
    ASSERT_TRUE(blocked.Start(
        [](LPVOID p) -> UINT {
            static_cast<CEvent*>(p)->Lock();
            return 0;
        },
        &never));
    EXPECT_FALSE(blocked.Wait(20));
    EXPECT_TRUE(blocked.Terminate(0xFFFFFFFF));
    ASSERT_TRUE(blocked.Wait(5000));
    EXPECT_EQ(blocked.GetExitCode(), 0xFFFFFFFFu);

    CWorkerThread throwing;
    ASSERT_TRUE(throwing.Start([](LPVOID) -> UINT { AfxThrowUserException(); }, nullptr));
    ASSERT_TRUE(throwing.Wait(5000));
    EXPECT_EQ(throwing.GetExitCode(), 0xFFFFFFFFu);
    EXPECT_FALSE(throwing.GetExceptionText().empty()) << "reported, not swallowed";
    throwing.Close();

    // The exception object is deleted (none left alive), and other exceptions are told too.
    CWorkerThread counted;
    ASSERT_TRUE(counted.Start([](LPVOID) -> UINT { throw new CCounted; }, nullptr));
    ASSERT_TRUE(counted.Wait(5000));
    EXPECT_EQ(counted.GetExceptionText(), "counted failure");
    EXPECT_EQ(CCounted::live, 0);
    CWorkerThread standard;
    ASSERT_TRUE(standard.Start([](LPVOID) -> UINT { throw std::runtime_error("disk full"); }, nullptr));
    ASSERT_TRUE(standard.Wait(5000));
    EXPECT_EQ(standard.GetExitCode(), 0xFFFFFFFFu);
    EXPECT_EQ(standard.GetExceptionText(), "disk full");
    EXPECT_EQ(throwing.GetHandle(), nullptr);
}
