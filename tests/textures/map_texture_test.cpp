// The map's current, default and marked textures: showing a texture never changes a
// face; applying one changes only the selection and marks the map only when it did.
#include "DocumentFixture.h"
#include "IniFile.h"
#include "Texture.h"

namespace {

// A source holding two named textures; the browser's part is played by the services.
class TwoTextures : public CTextureSource
{
public:
    TwoTextures()
    {
        a.name = "BRICK";
        b.name = "METAL";
    }
    Texture* FindTexture(LPCSTR name) override
    {
        CString key = TextureKey(name);
        return key == "BRICK" ? &a : key == "METAL" ? &b : nullptr;
    }
    Texture a, b;
};

class ShowingServices : public CRecordingServices
{
public:
    std::vector<Texture*> shown;
    void ShowTexture(Texture* t) override { shown.push_back(t); }
};

class MapTexture : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        SetEditorServices(&showing);
        SetTextureSource(&source);
        project = new CIniFile(dir.Path("x.mpj"));
        showing.SetProject(project);
        b1 = AddBrush(world, 0, 64, 0, 64, 0, 64);
        b2 = AddBrush(world, 64, 128, 0, 64, 0, 64);
        map->SetModifiedFlag(FALSE);
    }
    void TearDown() override
    {
        SetTextureSource(nullptr);
        SetEditorServices(services);
        delete project;
        DocumentTest::TearDown();
    }
    int CountFaces(Brush* b, Texture* t)
    {
        int n = 0;
        for (const Face& f : b->GetFaces())
            n += f.texture == t;
        return n;
    }
    ShowingServices showing;
    TwoTextures source;
    CTempDir dir; // the project writes itself when deleted
    CIniFile* project = nullptr;
    Brush* b1 = nullptr;
    Brush* b2 = nullptr;
};

TEST_F(MapTexture, CurrentTextureIsShownNeverApplied)
{
    b1->SetTexture(&source.a);
    b2->SetTexture(&source.a);
    Select(b1);
    Select(b2);
    map->UpdateCurrentTexture();
    EXPECT_EQ(map->GetCurrentTexture(), &source.a);
    ASSERT_EQ(showing.shown.size(), 1u);
    EXPECT_EQ(showing.shown[0], &source.a);
    EXPECT_FALSE(map->IsModified());

    // Brushes of different textures, a brush of mixed faces, an entity: no common one.
    b2->SetTexture(&source.b);
    map->UpdateCurrentTexture();
    EXPECT_EQ(map->GetCurrentTexture(), nullptr);
    b2->SetTexture(&source.a);
    b2->GetFaces()[0].texture = &source.b;
    map->UpdateCurrentTexture();
    EXPECT_EQ(map->GetCurrentTexture(), nullptr);
    b2->SetTexture(&source.a);
    Entity* light = AddEntity("light", "0 0 0");
    Select(light);
    map->UpdateCurrentTexture();
    EXPECT_EQ(map->GetCurrentTexture(), nullptr);

    // In face mode the picked face decides alone.
    g_faceMode = 1;
    map->SetPickedFace(&b1->GetFaces()[2]);
    b1->GetFaces()[2].texture = &source.b;
    map->UpdateCurrentTexture();
    EXPECT_EQ(map->GetCurrentTexture(), &source.b);
    EXPECT_EQ(showing.shown.back(), &source.b);
    EXPECT_EQ(CountFaces(b1, &source.a), 5);
    EXPECT_FALSE(map->IsModified());
    map->SetPickedFace(nullptr);
    g_faceMode = 0;
}

TEST_F(MapTexture, DefaultTextureGoesOntoTheSelectedBrushes)
{
    // No "Default" key: nothing happens.
    Select(b1);
    map->GetDefaultTexture();
    EXPECT_TRUE(view.hints.empty());
    EXPECT_FALSE(map->IsModified());

    project->AddString("Texture", "Default", "brick");
    map->GetDefaultTexture();
    EXPECT_EQ(CountFaces(b1, &source.a), 6);
    EXPECT_EQ(CountFaces(b2, &source.a), 0);
    EXPECT_EQ(view.Numbers(), std::vector<LPARAM>{HINT_DEFAULT_TEXTURE});
    EXPECT_TRUE(map->IsModified());

    // Applying it again changes no face and leaves the map unmodified.
    map->SetModifiedFlag(FALSE);
    map->GetDefaultTexture();
    EXPECT_FALSE(map->IsModified());

    // A name no WAD holds changes nothing.
    project->WriteString("Texture", "Default", "GONE", TRUE);
    map->GetDefaultTexture();
    EXPECT_EQ(CountFaces(b1, &source.a), 6);
    EXPECT_FALSE(map->IsModified());

    // In face mode only the picked face takes it; none picked: no face.
    project->WriteString("Texture", "Default", "METAL", TRUE);
    Select(b2);
    g_faceMode = 1;
    map->GetDefaultTexture();
    EXPECT_EQ(CountFaces(b2, &source.b), 0);
    EXPECT_FALSE(map->IsModified());
    map->SetPickedFace(&b2->GetFaces()[3]);
    map->GetDefaultTexture();
    EXPECT_EQ(CountFaces(b1, &source.b), 0);
    EXPECT_EQ(CountFaces(b2, &source.b), 1);
    EXPECT_EQ(b2->GetFaces()[3].texture, &source.b);
    EXPECT_TRUE(map->IsModified());
    map->SetPickedFace(nullptr);
    g_faceMode = 0;
}

TEST_F(MapTexture, MarkedTexture)
{
    map->GetMarkedTexture();
    ASSERT_EQ(services->boxes.size(), 1u); // the reporter's boxes
    EXPECT_EQ(services->boxes[0].text, "A texture is not currently marked.");

    // An empty selection: the texture only becomes current.
    project->AddString("Texture", "Marked", "METAL");
    map->GetMarkedTexture();
    EXPECT_EQ(map->GetCurrentTexture(), &source.b);
    EXPECT_EQ(showing.shown.back(), &source.b);
    EXPECT_FALSE(map->IsModified());

    Select(b2);
    map->GetMarkedTexture();
    EXPECT_EQ(CountFaces(b2, &source.b), 6);
    EXPECT_EQ(CountFaces(b1, &source.b), 0);
    EXPECT_TRUE(map->IsModified());
    EXPECT_TRUE(view.hints.empty());

    // A marked name no WAD holds falls back to the default texture.
    map->SetModifiedFlag(FALSE);
    project->WriteString("Texture", "Marked", "GONE", TRUE);
    project->AddString("Texture", "Default", "BRICK");
    map->GetMarkedTexture();
    EXPECT_EQ(CountFaces(b2, &source.a), 6);
    EXPECT_TRUE(map->IsModified());
}

} // namespace
