// Test services: record every line, status and box; answer boxes from a queue.
#pragma once
#include "Reporter.h"
#include "Services.h"
#include <deque>
#include <map>
#include <string>
#include <vector>
#include <gtest/gtest.h>

class CRecordingServices : public CDefaultEditorServices
{
public:
    struct BoxRecord
    {
        std::string text;
        UINT type;
    };
    std::vector<std::string> lines;
    std::vector<std::string> statuses;
    std::vector<BoxRecord> boxes;
    std::deque<int> answers; // next box answers; IDOK when empty
    int quitCode = 0;
    bool quit = false;
    BOOL mainFrame = TRUE;
    BOOL unapplied = FALSE;
    int applied = 0;
    std::vector<std::string> origins;
    std::vector<Entity*> currentEntities; // what the Entity Editor was given
    int indicatorUpdates = 0;
    std::vector<Face*> adjustedFaces;     // what the Texture Adjustment window was given
    int objectOrderRebuilds = 0;
    CPtrList* activeObjectOrder = nullptr; // the active 2D map window's list, if any
    std::map<std::string, int> classVisibility; // answers of IsEntityVisible; others as the default

    BOOL HasMainFrame() override { return mainFrame; }
    void PrintMessage(LPCSTR text) override { lines.push_back(std::string(text) + "\r\n"); }
    void SetStatusAndMessage(LPCSTR text) override
    {
        statuses.push_back(text);
        PrintMessage(text);
    }
    int MessageBox(LPCSTR text, UINT type) override
    {
        boxes.push_back({text, type});
        if (answers.empty())
            return IDOK;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    void Quit(int code) override
    {
        quit = true;
        quitCode = code;
    }
    BOOL HasUnappliedEntityChanges() override { return unapplied; }
    void ApplyEntityChanges() override
    {
        ++applied;
        unapplied = FALSE;
    }
    void UpdateEntityOrigin(LPCSTR origin) override { origins.push_back(origin); }
    void SetCurrentEntity(Entity* pEntity) override { currentEntities.push_back(pEntity); }
    void UpdateSelectionIndicator() override { ++indicatorUpdates; }
    void UpdateTextureAdjustment(Face* pFace) override { adjustedFaces.push_back(pFace); }
    CPtrList* GetActiveObjectOrder(Map*) override { return activeObjectOrder; }
    void RebuildObjectOrders(Map*) override { ++objectOrderRebuilds; }
    int visibilityQueries = 0;
    int IsEntityVisible(LPCSTR className) override
    {
        ++visibilityQueries;
        auto it = classVisibility.find(className);
        return it != classVisibility.end() ? it->second : CDefaultEditorServices::IsEntityVisible(className);
    }

    // Texts of all boxes joined, for "contains" checks.
    bool BoxContains(const char* part) const;
    bool LineContains(const char* part) const;
};

// A box of six values (min x, max x, min y, max y, min z, max z), valid until the next call.
inline short* TestBox(short x0, short x1, short y0, short y1, short z0, short z1)
{
    static short b[6];
    short v[6] = {x0, x1, y0, y1, z0, z1};
    for (int i = 0; i < 6; ++i)
        b[i] = v[i];
    return b;
}

// Installs fresh recording services and a published reporter for each test.
class ModelTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    CRecordingServices* services = nullptr;
    CReporter* reporter = nullptr;
};

// A fresh temporary directory, removed with its files at the end of the test.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CString Path(LPCSTR name) const { return m_path + "\\" + name; }
    const CString& Path() const { return m_path; }
    void WriteFile(LPCSTR name, const std::string& data) const;
    std::string ReadFile(LPCSTR name) const;

private:
    CString m_path;
};

// A fresh folder reached as a network share ("\\host\share"), removed with its files at the
// end. Under Wine a share "\\host\share" is the folder dosdevices\unc\host\share of the prefix;
// on Windows the temporary folder is reached through its drive's administrative share
// ("\\localhost\C$\..."). Reachable() says whether the system opens it.
class CTempShare
{
public:
    CTempShare();
    ~CTempShare();
    CTempShare(const CTempShare&) = delete;
    CTempShare& operator=(const CTempShare&) = delete;
    // The share's path, and a name in it.
    const CString& Path() const { return m_share; }
    CString Path(LPCSTR name) const { return m_share + "\\" + name; }
    void WriteFile(LPCSTR name, const std::string& data) const;
    bool Reachable() const;
    // Where it was looked for, for a test that skips.
    CString Why() const { return "no network share could be made at " + m_share; }

private:
    CString m_local; // the folder as the local file system names it
    CString m_host;  // under Wine: the host's folder, removed at the end
    CString m_share;
};
