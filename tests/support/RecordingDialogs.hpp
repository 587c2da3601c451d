#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::test {

/// Records every alert and answers with the queued choices, then with "dismissed".
class RecordingDialogs : public Dialogs {
public:
    std::optional<std::size_t> runModal(const Alert& alert) override {
        alerts.push_back(alert);
        if (answers.empty())
            return std::nullopt;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Alert> alerts;
    std::deque<std::optional<std::size_t>> answers;
};

/// Records what the application asked of the desktop, one line per request
/// ("copy: …", "url: …", "open: …", "reveal: …"); opening fails while `canOpen` is false, as on
/// a desktop with no program for the file or the link.
class RecordingWorkspace : public Workspace {
public:
    void copyToPasteboard(const std::string& text) override { requests.push_back("copy: " + text); }
    bool openURL(const std::string& url) override { return record("url: " + url); }
    bool openFile(const std::string& path) override { return record("open: " + path); }
    bool revealFile(const std::string& path) override { return record("reveal: " + path); }

    std::vector<std::string> requests;
    bool canOpen = true;

private:
    bool record(std::string request) {
        requests.push_back(std::move(request));
        return canOpen;
    }
};

} // namespace kelvane::test
