// Input masks: the mask language and the entered characters.
#include "gxmask.h"
#include <climits>
#include <cctype>
#include <mbctype.h>
#include <mbstring.h>

IMPLEMENT_DYNCREATE(CGXMaskData, CObject)

namespace {
// A character's code from its bytes, as unsigned values.
UINT CharCode(const CString& s)
{
    if (s.GetLength() >= 2)
        return static_cast<BYTE>(s[0]) * 256u + static_cast<BYTE>(s[1]);
    return s.IsEmpty() ? 0u : static_cast<BYTE>(s[0]);
}

CString CodeToChar(UINT code)
{
    CString s;
    if (code > 0xFF) {
        s += static_cast<char>((code >> 8) & 0xFF);
        s += static_cast<char>(code & 0xFF);
    } else {
        s += static_cast<char>(code);
    }
    return s;
}

BOOL IsDigitChar(const CString& s) { return s.GetLength() == 1 && std::isdigit(static_cast<BYTE>(s[0])) != 0; }
BOOL IsAlphaChar(const CString& s) { return !s.IsEmpty() && _ismbcalpha(CharCode(s)) != 0; }
BOOL IsAlnumChar(const CString& s) { return !s.IsEmpty() && _ismbcalnum(CharCode(s)) != 0; }
} // namespace

BOOL CGXMaskData::IsDBCSSystem()
{
    static const BOOL dbcs = ::GetSystemMetrics(SM_DBCSENABLED) != 0;
    return dbcs;
}

std::vector<CString> CGXMaskData::SplitChars(LPCSTR lpszText)
{
    std::vector<CString> chars;
    if (lpszText == nullptr)
        return chars;
    for (LPCSTR p = lpszText; *p != '\0'; ++p) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(*p))) {
            if (p[1] == '\0')
                break;
            CString pair(*p);
            pair += p[1];
            chars.push_back(pair);
            ++p;
        } else {
            chars.push_back(CString(*p));
        }
    }
    return chars;
}

UINT GXGetMaskDataClipboardFormat()
{
    static const UINT cf = ::RegisterClipboardFormatA("GX_MASKDATA");
    return cf;
}

CGXMaskData::CGXMaskData() : m_strPrompt("_"), m_nMaxLength(INT_MAX) {}

void CGXMaskData::ClearMask()
{
    m_mask.clear();
    m_literal.clear();
}

BOOL CGXMaskData::IsPlaceholder(UINT nChar)
{
    return nChar == '#' || nChar == '&' || nChar == '?' || nChar == 'A' || nChar == 'L' || nChar == 'U';
}

void CGXMaskData::SetMask(LPCSTR lpszMask)
{
    ClearMask();
    if (lpszMask == nullptr || *lpszMask == '\0') {
        m_nMaxLength = INT_MAX;
        return;
    }
    BOOL escape = FALSE;
    for (LPCSTR p = lpszMask; *p != '\0'; ++p) {
        const BYTE c = static_cast<BYTE>(*p);
        if (::IsDBCSLeadByte(c)) {
            if (p[1] == '\0')
                break;
            CString pair(*p);
            pair += p[1];
            ++p;
            m_mask.push_back(pair);
            m_literal.push_back(1);
            escape = FALSE;
            continue;
        }
        if (c == '\\' && !escape) {
            escape = TRUE;
            continue;
        }
        m_mask.push_back(CString(*p));
        m_literal.push_back(escape || !IsPlaceholder(c) ? 1 : 0);
        escape = FALSE;
    }
}

BOOL CGXMaskData::IsEmptyMask() { return m_mask.empty(); }
int CGXMaskData::GetLength() { return static_cast<int>(m_data.size()); }
int CGXMaskData::GetMaxLength() { return m_nMaxLength; }
void CGXMaskData::SetMaxLength(int nMax) { m_nMaxLength = nMax; }

BOOL CGXMaskData::IsLiteral(int nPos)
{
    if (IsPlainText() || nPos < 0 || nPos >= GetPositionCount())
        return FALSE;
    return m_literal[static_cast<size_t>(nPos)] != 0;
}

void CGXMaskData::ResetData()
{
    m_data.clear();
    if (IsPlainText())
        return;
    for (int i = 0; i < GetPositionCount(); ++i)
        m_data.push_back(IsLiteral(i) ? m_mask[static_cast<size_t>(i)] : m_strPrompt);
}

void CGXMaskData::EnsureData()
{
    if (IsPlainText())
        return;
    const int n = GetPositionCount();
    if (GetLength() > n)
        m_data.resize(static_cast<size_t>(n));
    for (int i = GetLength(); i < n; ++i)
        m_data.push_back(IsLiteral(i) ? m_mask[static_cast<size_t>(i)] : m_strPrompt);
}

void CGXMaskData::GetDisplayString(CString& sResult, int nFirst, int nLast)
{
    sResult.Empty();
    const int len = GetLength();
    if (nLast < 0 || nLast >= len)
        nLast = len - 1;
    for (int i = nFirst < 0 ? 0 : nFirst; i <= nLast; ++i)
        sResult += m_data[static_cast<size_t>(i)];
}

void CGXMaskData::GetData(CString& sResult, int nFirst, int nLast, BOOL bTrim)
{
    if (IsPlainText()) {
        GetDisplayString(sResult, nFirst, nLast);
    } else {
        sResult.Empty();
        const int len = GetLength();
        if (nLast < 0 || nLast >= len)
            nLast = len - 1;
        for (int i = nFirst < 0 ? 0 : nFirst; i <= nLast; ++i) {
            if (IsLiteral(i))
                continue;
            const CString& entry = m_data[static_cast<size_t>(i)];
            sResult += entry == m_strPrompt ? CString(" ") : entry;
        }
    }
    if (bTrim)
        sResult.TrimRight();
}

BOOL CGXMaskData::ValidateChar(int nPos, CString& sChar)
{
    if (IsPlainText())
        return TRUE;
    if (nPos < 0 || nPos >= GetPositionCount() || IsLiteral(nPos))
        return FALSE;
    if (sChar == " ") {
        sChar = m_strPrompt;
        return TRUE;
    }
    if (sChar == m_strPrompt)
        return TRUE;
    switch (m_mask[static_cast<size_t>(nPos)][0]) {
    case '#': return IsDigitChar(sChar);
    case '&': return !sChar.IsEmpty();
    case '?': return IsAlphaChar(sChar);
    case 'A': return IsAlnumChar(sChar);
    case 'L':
        if (!IsAlphaChar(sChar))
            return FALSE;
        sChar = CodeToChar(_mbctolower(CharCode(sChar)));
        return TRUE;
    case 'U':
        if (!IsAlphaChar(sChar))
            return FALSE;
        sChar = CodeToChar(_mbctoupper(CharCode(sChar)));
        return TRUE;
    default: return FALSE;
    }
}

int CGXMaskData::GetNextDataPos(int nPos)
{
    const int bound = IsPlainText() ? m_nMaxLength : GetPositionCount();
    if (bound < 1 || nPos >= bound)
        return nPos;
    for (int p = nPos < -1 ? 0 : nPos + 1; p < bound; ++p)
        if (!IsLiteral(p))
            return p;
    return -1;
}

int CGXMaskData::GetPrevDataPos(int nPos)
{
    const int bound = IsPlainText() ? GetLength() + 1 : GetPositionCount();
    if (bound < 1)
        return nPos;
    for (int p = nPos - 1 < bound - 1 ? nPos - 1 : bound - 1; p >= 0; --p)
        if (!IsLiteral(p))
            return p;
    return -1;
}

int CGXMaskData::GetInputEnd(int nPos)
{
    if (IsPlainText())
        return nPos < GetLength() ? nPos : GetLength();
    EnsureData();
    const int n = GetPositionCount();
    auto filled = [this](int p) { return !IsLiteral(p) && m_data[static_cast<size_t>(p)] != m_strPrompt; };
    int p = nPos < 0 ? 0 : nPos;
    if (p >= n) {
        if (filled(n - 1))
            return nPos;
        p = n - 1;
    }
    if (IsLiteral(p)) {
        const int next = GetNextDataPos(p);
        p = next >= 0 ? next : n - 1;
    }
    if (filled(p))
        return p;
    while (p >= 0 && !filled(p))
        --p;
    return p >= 0 ? p + 1 : GetNextDataPos(-1);
}

BOOL CGXMaskData::InsertAt(int nPos, const CString& sChar, int* pNext)
{
    if (IsPlainText()) {
        if (GetLength() >= m_nMaxLength || nPos < 0 || nPos > GetLength())
            return FALSE;
        m_data.insert(m_data.begin() + nPos, sChar);
        if (pNext != nullptr)
            *pNext = nPos + 1;
        return TRUE;
    }
    const int n = GetPositionCount();
    if (nPos < 0 || nPos > n)
        return FALSE;
    // From a literal (or the end) to the next place that takes a character.
    if (nPos == n || IsLiteral(nPos)) {
        nPos = nPos == n ? -1 : GetNextDataPos(nPos);
        if (nPos < 0)
            return FALSE;
    }
    EnsureData();
    const int last = GetPrevDataPos(n);
    if (last < 0 || m_data[static_cast<size_t>(last)] != m_strPrompt)
        return FALSE;
    int lastFilled = last;
    while (lastFilled >= 0 && (IsLiteral(lastFilled) || m_data[static_cast<size_t>(lastFilled)] == m_strPrompt))
        --lastFilled;
    for (int q = lastFilled; q >= nPos && q >= 0; q = GetPrevDataPos(q)) {
        if (IsLiteral(q))
            continue;
        m_data[static_cast<size_t>(GetNextDataPos(q))] = m_data[static_cast<size_t>(q)];
    }
    m_data[static_cast<size_t>(nPos)] = sChar;
    if (pNext != nullptr) {
        const int next = GetNextDataPos(nPos);
        *pNext = next >= 0 ? next : nPos + 1;
    }
    return TRUE;
}

void CGXMaskData::DeleteRange(int nEnd, int nStart)
{
    if (IsPlainText()) {
        const int len = GetLength();
        nStart = nStart < 0 ? 0 : (nStart > len ? len : nStart);
        nEnd = nEnd < 0 ? 0 : (nEnd > len ? len : nEnd);
        if (nStart < nEnd)
            m_data.erase(m_data.begin() + nStart, m_data.begin() + nEnd);
        return;
    }
    const int n = GetPositionCount();
    nStart = nStart < 0 ? 0 : nStart;
    nEnd = nEnd > n ? n : nEnd;
    if (nEnd < 0 || nStart >= nEnd)
        return;
    EnsureData();
    if (IsLiteral(nStart)) {
        nStart = GetNextDataPos(nStart);
        if (nStart < 0 || nStart >= nEnd)
            return;
    }
    int src = nEnd;
    if (src == n)
        src = -1;
    else if (IsLiteral(src))
        src = GetNextDataPos(src);
    for (int dst = nStart; dst >= 0 && dst < n; dst = GetNextDataPos(dst)) {
        if (src >= 0 && src < n) {
            m_data[static_cast<size_t>(dst)] = m_data[static_cast<size_t>(src)];
            src = GetNextDataPos(src);
        } else {
            src = -1;
            m_data[static_cast<size_t>(dst)] = m_strPrompt;
        }
    }
}

int CGXMaskData::SetData(LPCSTR lpszText, int nStart, BOOL bInsert)
{
    if (IsPlainText())
        return SetDisplayString(lpszText, nStart, bInsert);
    if (nStart == -1) {
        ResetData();
        nStart = 0;
    }
    const int n = GetPositionCount();
    if (n == 0 || nStart < 0 || nStart >= n)
        return -1;
    EnsureData();
    int pos = nStart;
    if (IsLiteral(pos)) {
        pos = GetNextDataPos(pos);
        if (pos < 0)
            return -1;
    }
    for (CString ch : SplitChars(lpszText)) {
        if (pos < 0 || pos >= n)
            break;
        if (IsLiteral(pos)) {
            pos = GetNextDataPos(pos);
            if (pos < 0)
                break;
        }
        if (!ValidateChar(pos, ch))
            break;
        if (bInsert) {
            if (!InsertAt(pos, ch))
                break;
        } else {
            m_data[static_cast<size_t>(pos)] = ch;
        }
        ++pos;
    }
    return pos;
}

int CGXMaskData::SetDisplayString(LPCSTR lpszText, int nStart, BOOL bInsert)
{
    if (nStart == -1) {
        ResetData();
        nStart = 0;
    }
    if (nStart < 0)
        return -1;
    const std::vector<CString> chars = SplitChars(lpszText);
    const BOOL plain = IsPlainText();
    if (plain) {
        if (nStart > GetLength())
            nStart = GetLength();
        // Overwriting replaces as many characters as it brings, growing the text only past its end.
        if (!bInsert && static_cast<size_t>(GetLength()) < static_cast<size_t>(nStart) + chars.size())
            m_data.resize(static_cast<size_t>(nStart) + chars.size());
    } else {
        EnsureData();
    }
    const int n = GetPositionCount();
    int pos = nStart;
    for (CString ch : chars) {
        if (!plain) {
            if (pos >= n)
                break;
            if (IsLiteral(pos)) {
                if (ch != m_mask[static_cast<size_t>(pos)])
                    return -1;
                ++pos;
                continue;
            }
            if (!ValidateChar(pos, ch))
                return -1;
        }
        if (bInsert) {
            if (!InsertAt(pos, ch))
                return -1;
        } else {
            m_data[static_cast<size_t>(pos)] = ch;
        }
        ++pos;
    }
    if (plain && GetLength() > m_nMaxLength)
        m_data.resize(static_cast<size_t>(m_nMaxLength));
    return pos;
}

BOOL CGXMaskData::IsValid()
{
    if (IsPlainText())
        return GetLength() <= m_nMaxLength;
    if (m_data.empty())
        return TRUE;
    if (GetLength() != GetPositionCount())
        return FALSE;
    for (int i = 0; i < GetPositionCount(); ++i) {
        CString entry = m_data[static_cast<size_t>(i)];
        if (IsLiteral(i) ? entry != m_mask[static_cast<size_t>(i)] : !ValidateChar(i, entry))
            return FALSE;
    }
    return TRUE;
}

int CGXMaskData::PosToChar(int nPos)
{
    if (!IsDBCSSystem() || nPos == -1)
        return nPos;
    int bytes = 0;
    for (int i = 0; i < nPos && i < GetLength(); ++i)
        bytes += m_data[static_cast<size_t>(i)].GetLength();
    return bytes;
}

int CGXMaskData::CharToPos(int nChar)
{
    if (!IsDBCSSystem() || nChar == -1)
        return nChar;
    if (nChar < 1)
        return 0;
    int bytes = 0;
    for (int i = 0; i < GetLength(); ++i) {
        bytes += m_data[static_cast<size_t>(i)].GetLength();
        if (bytes >= nChar)
            return i + 1;
    }
    return GetLength();
}

BOOL CGXMaskData::SetPromptChar(LPCSTR lpszPrompt, BOOL bUpdate)
{
    CString prompt = lpszPrompt != nullptr ? lpszPrompt : "";
    const int len = prompt.GetLength();
    if (len > 2 || (len == 2 && !::IsDBCSLeadByte(static_cast<BYTE>(prompt[0]))) ||
        (len == 1 && ::IsDBCSLeadByte(static_cast<BYTE>(prompt[0]))))
        return FALSE;
    if (prompt.IsEmpty())
        prompt = "_";
    if (bUpdate) {
        for (int i = 0; i < GetLength(); ++i)
            if (!IsLiteral(i) && m_data[static_cast<size_t>(i)] == m_strPrompt)
                m_data[static_cast<size_t>(i)] = prompt;
    }
    m_strPrompt = prompt;
    return TRUE;
}
