#include "afxstr.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
HINSTANCE g_hResource = nullptr;

bool IsResourceId(LPCSTR psz)
{
    return psz != nullptr && (reinterpret_cast<ULONG_PTR>(psz) >> 16) == 0;
}

size_t ClampLen(int n) { return n < 0 ? 0 : static_cast<size_t>(n); }
} // namespace

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource != nullptr ? g_hResource : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

CString::CString(LPCSTR psz)
{
    if (IsResourceId(psz))
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(psz)));
    else if (psz != nullptr)
        m_s = psz;
}

CString::CString(LPCSTR pch, int nLength)
{
    if (pch != nullptr && nLength > 0)
        m_s.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_s.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR psz)
{
    if (psz == nullptr)
        m_s.clear();
    else
        m_s = psz;   // std::string handles self-assignment from its own buffer
    return *this;
}

CString& CString::operator=(char ch)
{
    m_s.assign(1, ch);
    return *this;
}

int CString::Compare(LPCSTR psz) const { return std::strcmp(m_s.c_str(), psz ? psz : ""); }
int CString::CompareNoCase(LPCSTR psz) const { return _stricmp(m_s.c_str(), psz ? psz : ""); }
int CString::Collate(LPCSTR psz) const { return std::strcoll(m_s.c_str(), psz ? psz : ""); }
int CString::CollateNoCase(LPCSTR psz) const { return _stricoll(m_s.c_str(), psz ? psz : ""); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > GetLength())
        nFirst = GetLength();
    if (nFirst + nCount > GetLength())
        nCount = GetLength() - nFirst;
    return CString(m_s.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const
{
    nCount = std::max(0, std::min(nCount, GetLength()));
    return CString(m_s.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const
{
    nCount = std::max(0, std::min(nCount, GetLength()));
    return CString(m_s.substr(m_s.size() - static_cast<size_t>(nCount)));
}

CString CString::SpanIncluding(LPCSTR set) const
{
    return Left(static_cast<int>(std::strspn(m_s.c_str(), set)));
}

CString CString::SpanExcluding(LPCSTR set) const
{
    return Left(static_cast<int>(std::strcspn(m_s.c_str(), set)));
}

void CString::MakeUpper()
{
    for (char& c : m_s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void CString::MakeLower()
{
    for (char& c : m_s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void CString::MakeReverse() { std::reverse(m_s.begin(), m_s.end()); }

void CString::TrimRight()
{
    while (!m_s.empty() && std::isspace(static_cast<unsigned char>(m_s.back())))
        m_s.pop_back();
}

void CString::TrimRight(char chTarget)
{
    while (!m_s.empty() && m_s.back() == chTarget)
        m_s.pop_back();
}

void CString::TrimRight(LPCSTR lpszTargets)
{
    while (!m_s.empty() && std::strchr(lpszTargets, m_s.back()) != nullptr)
        m_s.pop_back();
}

void CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && std::isspace(static_cast<unsigned char>(m_s[i])))
        ++i;
    m_s.erase(0, i);
}

void CString::TrimLeft(char chTarget)
{
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == chTarget)
        ++i;
    m_s.erase(0, i);
}

void CString::TrimLeft(LPCSTR lpszTargets)
{
    size_t i = 0;
    while (i < m_s.size() && m_s[i] != '\0' && std::strchr(lpszTargets, m_s[i]) != nullptr)
        ++i;
    m_s.erase(0, i);
}

int CString::Replace(char chOld, char chNew)
{
    int n = 0;
    if (chOld == chNew)
        return 0;
    for (char& c : m_s)
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    if (lpszOld == nullptr || *lpszOld == '\0')
        return 0;
    const std::string from(lpszOld), to(lpszNew ? lpszNew : "");
    std::string out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(from, pos);
        if (hit == std::string::npos)
            break;
        out.append(m_s, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n > 0) {
        out.append(m_s, pos, std::string::npos);
        m_s.swap(out);
    }
    return n;
}

int CString::Remove(char chRemove)
{
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), chRemove), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int nIndex, char ch)
{
    nIndex = std::max(0, std::min(nIndex, GetLength()));
    m_s.insert(static_cast<size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    nIndex = std::max(0, std::min(nIndex, GetLength()));
    if (psz != nullptr)
        m_s.insert(static_cast<size_t>(nIndex), psz);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex < GetLength() && nCount > 0)
        m_s.erase(static_cast<size_t>(nIndex), ClampLen(nCount));
    return GetLength();
}

int CString::Find(char ch) const { return Find(ch, 0); }

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    size_t p = m_s.find(ch, static_cast<size_t>(nStart));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (lpszSub == nullptr || nStart < 0 || nStart > GetLength())
        return -1;
    size_t p = m_s.find(lpszSub, static_cast<size_t>(nStart));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char ch) const
{
    size_t p = m_s.rfind(ch);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    size_t p = m_s.find_first_of(lpszCharSet);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    va_list copy;
    va_copy(copy, argList);
    int n = std::vsnprintf(nullptr, 0, lpszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_s.clear();
        return;
    }
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), lpszFormat, argList);
    m_s.assign(buf.data(), static_cast<size_t>(n));
}

void CString::Format(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    format.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

BOOL CString::LoadString(UINT nID)
{
    // The resource is stored as a counted string; find its length first.
    HINSTANCE h = AfxGetResourceHandle();
    HRSRC res = FindResourceA(h, MAKEINTRESOURCEA((nID >> 4) + 1), MAKEINTRESOURCEA(6));
    if (res == nullptr)
        return FALSE;
    std::vector<char> buf(256);
    for (;;) {
        int n = ::LoadStringA(h, nID, buf.data(), static_cast<int>(buf.size()));
        if (n == 0)
            return FALSE;
        if (n < static_cast<int>(buf.size()) - 1) {
            m_s.assign(buf.data(), static_cast<size_t>(n));
            return TRUE;
        }
        buf.resize(buf.size() * 2);
    }
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength()) {
        size_t oldLen = m_s.size();
        m_s.resize(static_cast<size_t>(nMinBufLength));
        // Keep the old text terminated so ReleaseBuffer(-1) finds its end.
        m_s[oldLen] = '\0';
    }
    return &m_s[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    m_s.resize(ClampLen(nNewLength));
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_s.c_str()));
    m_s.resize(std::min(ClampLen(nNewLength), m_s.size()));
}

CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
CString operator+(const CString& a, LPCSTR b) { return CString(a.m_s + (b ? b : "")); }
CString operator+(LPCSTR a, const CString& b) { return CString(std::string(a ? a : "") + b.m_s); }
CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
CString operator+(char a, const CString& b) { return CString(std::string(1, a) + b.m_s); }

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

void AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString)
{
    std::string out;
    for (LPCSTR p = lpszFormat; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            int i = p[1] - '1';
            if (i < nString && rglpsz[i] != nullptr)
                out += rglpsz[i];
            ++p;
        } else {
            out += *p;
        }
    }
    rString = out.c_str();
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1)
{
    CString format;
    format.LoadString(nIDS);
    AfxFormatStrings(rString, format, &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2)
{
    CString format;
    format.LoadString(nIDS);
    LPCSTR args[2] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, format, args, 2);
}
