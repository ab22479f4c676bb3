// One entry of the user's Tools menu.
#include "SECUserTool.h"

IMPLEMENT_SERIAL(SECUserTool, CObject, 1)

SECUserTool::SECUserTool() : m_dwFirst(1), m_dwLast(1) {}

SECUserTool::~SECUserTool() = default;

void SECUserTool::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_dwFirst << m_strMenuText << m_strCommand << m_strArgs << m_strDirectory << m_dwLast;
    else
        ar >> m_dwFirst >> m_strMenuText >> m_strCommand >> m_strArgs >> m_strDirectory >> m_dwLast;
}

void SECUserTool::DeleteToolList(CObArray& tools)
{
    for (INT_PTR i = 0; i < tools.GetSize(); i++)
        delete tools[i];
    tools.RemoveAll();
}
