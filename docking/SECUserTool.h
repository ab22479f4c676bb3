// One entry of the user's Tools menu: its text, the program, its arguments and the folder to
// start it in.
#pragma once
#include "afxwin.h"

class SECUserTool : public CObject
{
    DECLARE_SERIAL(SECUserTool)
public:
    SECUserTool();
    ~SECUserTool() override;

    DWORD m_dwFirst;            // 1 at construction; kept for the application
    CString m_strMenuText;
    CString m_strCommand;
    CString m_strArgs;
    CString m_strDirectory;
    DWORD m_dwLast;             // 1 at construction; kept for the application

    void Serialize(CArchive& ar) override;
    // Deletes every record of the array and empties it.
    static void DeleteToolList(CObArray& tools);
};
