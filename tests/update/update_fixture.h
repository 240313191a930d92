// What the updater's tests share: a UI that records, a scratch game directory, string modules.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "update/worker.h"

struct RecordedBox {
    std::string caption;
    std::string text;
    bool error;
};

class RecordingUi : public UpdateUi {
public:
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    void ShowMessage(const std::string& caption, const std::string& text, bool error) override
    {
        boxes.push_back({caption, text, error});
    }
    void VersionChanged() override { versionreads++; }
    void Done() override { donecount++; }
    std::vector<std::string> statuses;
    std::vector<RecordedBox> boxes;
    int versionreads = 0;
    int donecount = 0;
};

// A fresh directory standing for the game directory, removed afterwards.
class GameDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::filesystem::path File(const std::string& name) const { return dir / name; }
    void Write(const std::string& name, const std::string& bytes, unsigned mode = 0644);
    std::string Read(const std::string& name) const;                 // "<missing>" when absent
    std::vector<std::string> Listing() const;                        // every path below dir but the update log, sorted, dirs ending in '/'
    // A job on this directory against the given base URL with short test timeouts.
    UpdateJob MakeJob(const std::string& baseurl, uint32_t current = 0);

    std::filesystem::path dir;
    int handle = -1;        // dir held open, as a run holds it
    RecordingUi ui;
};

// The bytes of a string module holding these strings (what the packer would write).
std::string StringModule(const std::map<uint32_t, std::string>& strings);
// A string module carrying the version a.b.c.d.
std::string VersionModule(const std::string& a, const std::string& b, const std::string& c, const std::string& d);
