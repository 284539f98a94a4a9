#include "engine/extended_length_path.h"

#include <vector>

namespace corvalen {

namespace {

// The length from which Windows wants the extended form (its MAX_PATH).
constexpr std::size_t kLongestOrdinaryPath = 260;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The names between separators from `from` on, with "." and empty names dropped and ".."
// taking back the name before it.
std::vector<std::u16string> ResolvedNames(const std::u16string& path, std::size_t from) {
    std::vector<std::u16string> names;
    std::u16string name;
    for (std::size_t i = from; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) {
            name.push_back(path[i]);
            continue;
        }
        if (name == u"..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != u".") {
            names.push_back(name);
        }
        name.clear();
    }
    return names;
}

std::u16string Joined(std::u16string root, const std::vector<std::u16string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) root.push_back(u'\\');
        root += names[i];
    }
    return root;
}

}  // namespace

std::u16string ExtendedLengthPath(const std::u16string& path) {
    if (path.size() < kLongestOrdinaryPath) return path;
    // C:\... (either separator after the drive)
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2])) {
        return Joined(std::u16string(u"\\\\?\\") + path.substr(0, 2) + u"\\",
                      ResolvedNames(path, 3));
    }
    const bool twoSeparators = IsSeparator(path[0]) && IsSeparator(path[1]);
    // \\?\... and \\.\... are taken as they are.
    if (!twoSeparators ||
        (path.size() > 3 && (path[2] == u'?' || path[2] == u'.') && IsSeparator(path[3]))) {
        return path;
    }
    // \\server\share\...: the server and the share stay, the rest resolves below them.
    const std::vector<std::u16string> names = ResolvedNames(path, 2);
    if (names.size() < 2) return path;
    std::u16string root = u"\\\\?\\UNC\\" + names[0] + u"\\" + names[1] + u"\\";
    return Joined(root, std::vector<std::u16string>(names.begin() + 2, names.end()));
}

}  // namespace corvalen
