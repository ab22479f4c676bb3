// The Texture Adjustment window: the offsets, rotation and scales of the picked face. Filling it
// shows the face's values as they are; only what the user types is written, into the picked face
// of the map it was filled from while that map is active.
#pragma once
#include "TexturesRes.h"
#include "afxwin.h"

struct Face;
class Map;

// What a typed text does.
enum EditVerdict
{
    EDIT_STORE,    // a valid value: store it
    EDIT_IGNORE,   // an unfinished entry: nothing stored, nothing said
    EDIT_TOO_LOW,  // below the range: say so, show the low limit
    EDIT_TOO_HIGH, // above the range: say so, show the high limit
    EDIT_NO_SCALE, // not a number, or one the map text would write as zero: say so, show the high limit
};
// Integer edits: converted in 32 bits, then checked against min .. max ("" counts as 0).
EditVerdict CheckIntegerEdit(LPCSTR text, int minValue, int maxValue, int& value);
// Scale edits: -100 .. 100; "", "-", "." and zero are unfinished; not a number, or a value that
// the map text's six decimals write as zero ("1e-50", "0.0000004"), is no scale.
EditVerdict CheckScaleEdit(LPCSTR text, float& value);

class CTextureAdjustDlg : public CDialog
{
    DECLARE_DYNAMIC(CTextureAdjustDlg)
public:
    // Creates the window (hidden) owned by the main frame. The object deletes itself when its
    // window is destroyed.
    explicit CTextureAdjustDlg(CWnd* pMainFrame);

    // Shows the face's values, or disables the controls for null (their texts stay).
    void Update(Face* pFace);
    Map* GetFilledMap() const { return m_pMap; }

    short m_rotation = 0, m_xOffset = 0, m_yOffset = 0;

protected:
    BOOL OnInitDialog() override;
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override;

    void OnChangeRotate();
    void OnChangeXOffset();
    void OnChangeYOffset();
    void OnChangeXScale();
    void OnChangeYScale();

    void EnableControls(BOOL enable);
    void SetText(int id, LPCSTR text);
    // The picked face to write into, or null.
    Face* TargetFace(Map*& pMap) const;
    void IntegerChanged(int id, int maxValue, LPCSTR message, int field);
    void ScaleChanged(int id, LPCSTR message, int field);

    Map* m_pMap = nullptr; // the map the window was filled from
    BOOL m_filling = FALSE;

    DECLARE_MESSAGE_MAP()
};
