#include "ConfigurationFixtures.hpp"

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"

#include <array>
#include <random>
#include <string_view>

namespace kelvane::bench {
namespace {

constexpr std::array<std::string_view, 16> verbs{
    "Deploy", "Restart", "Tail",   "Build", "Open",  "Sync",   "Backup", "Check",
    "Start",  "Stop",    "Update", "Clean", "Flush", "Rotate", "Ping",   "Inspect"};
constexpr std::array<std::string_view, 16> objects{
    "nginx",    "postgres", "redis logs", "frontend", "API server", "staging",
    "Grafana",  "Docker",   "cache",      "Kafka",    "Überblick",  "prod-db",
    "webhooks", "certs",    "cron jobs",  "S3 bucket"};
constexpr std::array<std::string_view, 8> commandLines{"ssh web-01 'sudo systemctl restart nginx'",
                                                       "tail -f /var/log/syslog | grep error",
                                                       "cd ~/src/app && git pull && make",
                                                       "docker compose up -d",
                                                       "kubectl get pods -o wide",
                                                       "rsync -avz ~/notes/ backup:notes/",
                                                       "psql -c 'select now()'",
                                                       "open https://grafana.example.com"};
constexpr std::array<std::string_view, 64> everydayWords{
    "Git",     "Pull",    "Push",    "Docker",  "Logs",   "Tail",     "Deploy",  "Server",
    "Build",   "Test",    "Backup",  "Restart", "Open",   "Mail",     "Notes",   "Music",
    "Photos",  "Home",    "Office",  "Project", "Update", "Clean",    "Cache",   "Network",
    "Printer", "Weather", "News",    "Coffee",  "Timer",  "Download", "Upload",  "Disk",
    "Memory",  "Status",  "Start",   "Stop",    "Check",  "Report",   "Daily",   "Weekly",
    "Local",   "Remote",  "Staging", "Release", "Branch", "Commit",   "Shell",   "Editor",
    "Files",   "Folder",  "Sync",    "Share",   "Print",  "Search",   "Watch",   "List",
    "Show",    "New",     "Old",     "Quick",   "Full",   "Night",    "Morning", "Team"};

} // namespace

Configuration makeConfiguration(std::size_t commandCount, std::size_t groupCount) {
    std::mt19937 random(42);
    Configuration configuration;
    const std::size_t perGroup = (commandCount + groupCount - 1) / groupCount;
    std::size_t made = 0;
    for (std::size_t g = 0; g < groupCount && made < commandCount; ++g) {
        std::vector<MenuNode> items;
        for (std::size_t i = 0; i < perGroup && made < commandCount; ++i, ++made) {
            const std::string title = std::string(verbs[random() % verbs.size()]) + " " +
                                      std::string(objects[random() % objects.size()]) + " " +
                                      std::to_string(made);
            std::optional<KeyboardShortcut> shortcut;
            if (made % 50 == 0)
                shortcut = KeyboardShortcut{"k", KeyboardShortcut::Modifiers::command};
            std::optional<std::string> directory;
            if (made % 20 == 0)
                directory = "~/src/project-" + std::to_string(made % 13);
            items.push_back({ShellCommand(
                Uuid::random(), title, std::string(commandLines[random() % commandLines.size()]),
                made % 10 == 0 ? std::optional<std::string>("terminal") : std::nullopt, shortcut,
                directory, made % 97 == 0 ? std::optional<bool>(true) : std::nullopt)});
            if (i % 20 == 19)
                items.push_back({Separator{Uuid::random()}});
        }
        configuration.items.push_back(
            {CommandGroup(Uuid::random(), "Gruppe " + std::to_string(g), "folder", items)});
    }
    return configuration;
}

std::string makeV2Text(std::size_t commandCount, std::size_t groupCount) {
    return ConfigMigrator::makeV2JSON(makeConfiguration(commandCount, groupCount));
}

Configuration makeEverydayConfiguration(std::size_t commandCount, std::size_t groupSize) {
    std::mt19937 random(42);
    Configuration configuration;
    for (std::size_t made = 0; made < commandCount;) {
        std::vector<MenuNode> items;
        for (std::size_t i = 0; i < groupSize && made < commandCount; ++i, ++made) {
            std::string title;
            for (std::size_t word = 0, words = 2 + random() % 4; word < words; ++word)
                title.append(word == 0 ? "" : " ")
                    .append(everydayWords[random() % everydayWords.size()]);
            items.push_back({ShellCommand(Uuid::random(), title,
                                          std::string(commandLines[random() % commandLines.size()]),
                                          std::nullopt, std::nullopt, std::nullopt, std::nullopt)});
        }
        const std::string group = std::string(everydayWords[random() % everydayWords.size()]) +
                                  " " + std::to_string(configuration.items.size() + 1);
        configuration.items.push_back({CommandGroup(Uuid::random(), group, "folder", items)});
    }
    return configuration;
}

} // namespace kelvane::bench

namespace kelvane::bench {
namespace {

// `count` copies of `piece`, separated by commas.
std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    text.reserve(count * (piece.size() + 1));
    for (std::size_t i = 0; i < count; ++i)
        text.append(i == 0 ? "" : ",").append(piece);
    return text;
}

std::string group(std::string_view title, std::string_view items) {
    return std::string(R"({"title": ")").append(title).append(R"(", "items": [)").append(items) +
           "]}";
}

std::string commands(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text.append(i == 0 ? "" : ",")
            .append(R"({"title": "c)" + std::to_string(i) + R"(", "command": "ls"})");
    return text;
}

std::string umlauts(std::size_t bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes / 2; ++i)
        text += "\u00FC";
    return text;
}

std::string items(HostileShape shape, std::size_t bytes) {
    switch (shape) {
    case HostileShape::longTitledGroupOfWrongEntries:
        return group(std::string(bytes / 2, 'x'), repeated("0", bytes / 4));
    case HostileShape::deepGroupsWithLongTitles: {
        const std::size_t depth = 150;
        const std::string level = R"({"title": ")" + std::string(bytes / depth, 'x') +
                                  R"(", "items": [0, {"title": "c", "command": "ls"}, )";
        std::string nested;
        for (std::size_t i = 0; i < depth; ++i)
            nested += level;
        nested += "0";
        for (std::size_t i = 0; i < depth; ++i)
            nested += "]}";
        return nested;
    }
    case HostileShape::longUmlautTitledGroupOfCommands:
        return group(umlauts(bytes / 2), commands(bytes / 2 / 36));
    case HostileShape::longAsciiTitledGroupOfCommands:
        return group(std::string(bytes / 2, 'x'), commands(bytes / 2 / 36));
    case HostileShape::listOfNumbers:
        return repeated("0", bytes / 2);
    }
    return {};
}

} // namespace

std::string makeHostileV2Text(HostileShape shape, std::size_t bytes) {
    return R"({"version": 2, "items": [)" + items(shape, bytes) + "]}";
}

} // namespace kelvane::bench
