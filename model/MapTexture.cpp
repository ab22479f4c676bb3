// The map's current texture and applying the project's default or marked texture to
// the selection. Only a user's choice applies a texture; showing one (after a pick or
// a cycle) never touches a face.
#include "Brush.h"
#include "IniFile.h"
#include "Map.h"
#include "Reporter.h"
#include "Services.h"
#include "Texture.h"

void Map::UpdateCurrentTexture()
{
    Texture* result = nullptr;
    if (g_faceMode && m_pPickedFace) {
        result = m_pPickedFace->texture;
    } else {
        bool set = false;
        for (POSITION pos = m_selection.GetHeadPosition(); pos;) {
            SThing* t = static_cast<SThing*>(m_selection.GetNext(pos));
            if (t->GetKind() != 0) {
                // An entity in the selection: no common texture.
                result = nullptr;
                break;
            }
            Texture* common = static_cast<Brush*>(t)->GetCommonTexture();
            if (!set) {
                result = common;
                set = common != nullptr;
            } else if (common != result) {
                result = nullptr;
                break;
            }
        }
    }
    m_pCurrentTexture = result;
    GetEditorServices()->ShowTexture(result);
}

// Puts the texture onto the selected brushes, or in face mode onto the picked face alone
// (none picked: nothing). TRUE when a face changed.
static BOOL ApplyToSelection(CPtrList& selection, Face* picked, Texture* pTexture)
{
    BOOL changed = FALSE;
    if (g_faceMode && !picked)
        return FALSE;
    for (POSITION pos = selection.GetHeadPosition(); pos;) {
        SThing* t = static_cast<SThing*>(selection.GetNext(pos));
        if (t->GetKind() != 0)
            continue;
        for (Face& f : static_cast<Brush*>(t)->GetFaces()) {
            if (g_faceMode && &f != picked)
                continue;
            if (f.texture != pTexture) {
                f.texture = pTexture;
                changed = TRUE;
            }
        }
    }
    return changed;
}

void Map::GetDefaultTexture()
{
    CIniFile* project = GetEditorServices()->GetProject();
    const CString* name = project ? project->GetString("Texture", "Default") : nullptr;
    if (!name)
        return;
    // A name that no WAD holds leaves the faces as they are.
    Texture* tex = GetTextureSource()->FindTexture(*name);
    BOOL changed = tex && ApplyToSelection(m_selection, m_pPickedFace, tex);
    UpdateViews(HINT_DEFAULT_TEXTURE);
    if (changed)
        SetModifiedFlag(TRUE);
}

void Map::GetMarkedTexture()
{
    CIniFile* project = GetEditorServices()->GetProject();
    const CString* name = project ? project->GetString("Texture", "Marked") : nullptr;
    if (!name) {
        Report().Box(MB_OK, "A texture is not currently marked.");
        return;
    }
    Texture* tex = GetTextureSource()->FindTexture(*name);
    if (!tex) {
        GetDefaultTexture();
        return;
    }
    if (ApplyToSelection(m_selection, m_pPickedFace, tex))
        SetModifiedFlag(TRUE);
    m_pCurrentTexture = tex;
    GetEditorServices()->ShowTexture(tex);
}
