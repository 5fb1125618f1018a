// The small helpers: COM holders, double buffering, text parts, addresses
// and times.
#include "framework/ComBstr.h"
#include "framework/ComPtr.h"
#include "framework/ComVariant.h"
#include "framework/GdiHelpers.h"
#include "framework/Time.h"
#include "framework/Tokenizer.h"
#include "framework/Url.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// An object that only counts its references.
class CCounted : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid != IID_IUnknown)
            return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
    LONG refs = 0;
};

TEST(InterfacePtr, HoldsExactlyOneReferencePerHolder)
{
    CCounted object;
    {
        CInterfacePtr<IUnknown> first(&object);
        EXPECT_EQ(object.refs, 1);
        CInterfacePtr<IUnknown> copy(first);
        EXPECT_EQ(object.refs, 2);
        CInterfacePtr<IUnknown> moved(std::move(copy));
        EXPECT_EQ(object.refs, 2);
        EXPECT_FALSE(copy);
        moved = first;  // same object: no change
        EXPECT_EQ(object.refs, 2);

        CInterfacePtr<IUnknown> queried;
        EXPECT_EQ(first.QueryInterface(queried.Receive()), S_OK);
        EXPECT_EQ(object.refs, 3);
        *queried.Receive() = nullptr;  // Receive released the old reference
        EXPECT_EQ(object.refs, 2);

        IUnknown* raw = first.Detach();
        EXPECT_EQ(object.refs, 2);
        moved.Attach(raw);  // takes it over, drops its own
        EXPECT_EQ(object.refs, 1);
    }
    EXPECT_EQ(object.refs, 0);
}

TEST(Bstr, OwnsItsString)
{
    CBstr text(L"stream");
    EXPECT_EQ(text.Length(), 6u);
    CBstr copy(text);
    EXPECT_NE(static_cast<BSTR>(copy), static_cast<BSTR>(text));
    EXPECT_EQ(copy.ToString(), L"stream");
    CBstr empty;
    EXPECT_STREQ(empty.Text(), L"");
    EXPECT_TRUE(empty.IsEmpty());
    CBstr withNull(std::wstring(L"a\0b", 3));
    EXPECT_EQ(withNull.Length(), 3u);
    BSTR taken = text.Detach();
    EXPECT_EQ(static_cast<BSTR>(text), nullptr);
    empty.Attach(taken);
    EXPECT_EQ(empty.ToString(), L"stream");
}

TEST(Variant, HoldsValuesAndReleasesWhatItHolds)
{
    EXPECT_EQ(CVariant(true).vt, VT_BOOL);
    EXPECT_EQ(CVariant(true).boolVal, VARIANT_TRUE);
    EXPECT_EQ(CVariant(7).lVal, 7);
    CVariant text(L"about:blank");
    ASSERT_EQ(text.vt, VT_BSTR);
    CVariant copy(text);
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    EXPECT_STREQ(copy.bstrVal, L"about:blank");
    CVariant number(L"42");
    ASSERT_EQ(number.ChangeType(VT_I4), S_OK);
    EXPECT_EQ(number.lVal, 42);

    CCounted object;
    {
        CVariant held(static_cast<IUnknown*>(&object));
        EXPECT_EQ(object.refs, 1);
        CVariant again(held);
        EXPECT_EQ(object.refs, 2);
        again = CVariant(1);
        EXPECT_EQ(object.refs, 1);
    }
    EXPECT_EQ(object.refs, 0);
}

TEST(MemoryDC, DrawsInTheTargetsCoordinatesAndCopiesAtTheEnd)
{
    HDC screen = ::GetDC(nullptr);
    HDC target = ::CreateCompatibleDC(screen);
    CBitmapHandle bitmap(::CreateCompatibleBitmap(screen, 100, 100));
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(target, bitmap);
    RECT all{0, 0, 100, 100};
    ::FillRect(target, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const COLORREF white = ::GetPixel(target, 50, 50);
    {
        CMemoryDC buffer(target, RECT{10, 10, 60, 60});
        ASSERT_TRUE(buffer.IsBuffered());
        RECT square{20, 20, 30, 30};
        ::FillRect(buffer, &square, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(::GetPixel(target, 25, 25), white);  // not yet on the target
    }
    EXPECT_EQ(::GetPixel(target, 25, 25), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(target, 15, 15), white);  // the rest of the area kept
    EXPECT_EQ(::GetPixel(target, 5, 5), white);
    ::SelectObject(target, previous);
    ::DeleteDC(target);

    CMemoryDC empty(target, RECT{5, 5, 5, 40});
    EXPECT_FALSE(empty.IsBuffered());
}

TEST(Tokenizer, EmptyPartsNeverAppear)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* delimiters;
        std::vector<std::wstring> parts;
    };
    const Case cases[] = {
        {L"2.3.10", L".", {L"2", L"3", L"10"}},
        {L"..1..2.", L".", {L"1", L"2"}},
        {L"", L".", {}},
        {L"...", L".", {}},
        {L"1.2", L"", {L"1.2"}},
        {L"-h /p  x", L"-/ ", {L"h", L"p", L"x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CTokenizer::Split(c.text, c.delimiters), c.parts);
    }
}

TEST(Url, SplitsHostPortAndPathWithoutTheQuery)
{
    struct Case {
        const wchar_t* url;
        const wchar_t* host;
        INTERNET_PORT port;
        const wchar_t* path;
        const wchar_t* extra;
    };
    const Case cases[] = {
        {L"http://radio.example/live.mp3?id=3&x=y", L"radio.example", 80, L"/live.mp3", L"?id=3&x=y"},
        {L"http://127.0.0.1:8000/stream", L"127.0.0.1", 8000, L"/stream", L""},
        {L"https://secure.example/a/b", L"secure.example", 443, L"/a/b", L""},
        {L"http://bare.example", L"bare.example", 80, L"/", L""},
        {L"http://bare.example?only=query", L"bare.example", 80, L"/", L"?only=query"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        CUrl url;
        ASSERT_TRUE(url.CrackUrl(c.url));
        EXPECT_EQ(url.GetHostName(), c.host);
        EXPECT_EQ(url.GetPortNumber(), c.port);
        EXPECT_EQ(url.GetUrlPath(), c.path);
        EXPECT_EQ(url.GetExtraInfo(), c.extra);
    }
}

TEST(Url, RefusesWhatIsNoAddress)
{
    for (const wchar_t* text : {L"", L"no address", L"/just/a/path"}) {
        SCOPED_TRACE(text);
        CUrl url;
        EXPECT_FALSE(url.CrackUrl(text));
        EXPECT_TRUE(url.GetHostName().empty());
    }
    CUrl url;
    EXPECT_FALSE(url.CrackUrl(nullptr));
}

// The test program runs with the system's time zone set to New York (see
// CMakeLists.txt), a zone with daylight saving. The C runtime must take the
// zone from the system, not parse the TZ variable itself (it knows no
// daylight-saving rules of its own).
class Times : public ::testing::Test {
protected:
    void SetUp() override
    {
        _wputenv(L"TZ=");
        _tzset();
    }
};

TEST_F(Times, FormatsLocalCalendarTime)
{
    const CTime time(2024, 5, 17, 21, 5, 9);
    ASSERT_TRUE(time.IsValid());
    EXPECT_EQ(time.Format(L"%H:%M %d/%m/%Y"), L"21:05 17/05/2024");
    EXPECT_EQ(time.Format(L"%H:%M:%S"), L"21:05:09");
    EXPECT_EQ(time.GetDayOfWeek(), 6);  // a Friday; 1 is Sunday
    EXPECT_EQ(time.GetTime(), 1715994309);  // 01:05:09 UTC the next day (EDT is UTC-4)

    SYSTEMTIME fields{};
    ASSERT_TRUE(time.GetAsSystemTime(fields));
    EXPECT_EQ(fields.wYear, 2024);
    EXPECT_EQ(fields.wMonth, 5);
    EXPECT_EQ(fields.wDay, 17);
    EXPECT_EQ(fields.wDayOfWeek, 5);
    EXPECT_EQ(CTime(fields), time);
}

TEST_F(Times, FieldsPastTheirRangeRollOver)
{
    const CTime time(2024, 1, 32, 0, 90, 0);
    EXPECT_EQ(time.Format(L"%d/%m %H:%M"), L"01/02 01:30");
    EXPECT_EQ(CTime(2023, 12, 31, 23, 59, 60).Format(L"%Y-%m-%d %H:%M:%S"), L"2024-01-01 00:00:00");
}

TEST_F(Times, DayAndMinutesGiveTheWallClockTimeAcrossDaylightSaving)
{
    // Daylight saving starts on 10 March 2024 at 02:00: that day has 23 hours.
    const CTime midnight(2024, 3, 10, 0, 0, 0);
    const CTime nextMidnight(2024, 3, 11, 0, 0, 0);
    EXPECT_EQ((nextMidnight - midnight).GetTotalSeconds(), 23 * 3600);
    const CTime evening(2024, 3, 10, 0, 20 * 60, 0);
    EXPECT_EQ(evening.GetHour(), 20);
    EXPECT_EQ((midnight + CTimeSpan(20 * 3600)).GetHour(), 21);  // seconds alone would miss it
}

TEST(TimeSpan, FormatsHoursWithinTheDay)
{
    struct Case {
        __int64 seconds;
        const wchar_t* format;
        const wchar_t* text;
    };
    const Case cases[] = {
        {3725, L"%H:%M:%S", L"01:02:05"},
        {0, L"%H:%M:%S", L"00:00:00"},
        {90000, L"%H:%M:%S", L"01:00:00"},
        {90000, L"%D %H:%M:%S", L"1 01:00:00"},
        {61, L"%M%% %Q", L"01% %Q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(CTimeSpan(c.seconds).Format(c.format), c.text);
    }
    const CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
}

}  // namespace
