// File-backed settings store: typed value lines per key folder, replaced atomically on write.
#include "platform/posix/PXPosixSettingsManager.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "engine/core/PXLog.h"

namespace {

constexpr const char* Header = "PXSettings 1";
constexpr const char* NumberTag = "u32";
constexpr const char* TextTag = "str";
// A values file bigger than this is not ours: it reads as damaged instead of being loaded.
constexpr size_t MaxValuesFileSize = 1024 * 1024;

// An absolute folder from the environment, or $HOME + fallback, or "" with neither.
std::string XdgBase(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0')
        return std::string(home) + "/" + fallback;
    return "";
}

// Creates every missing folder of `path`; an existing folder counts as success.
bool MakeFolders(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/')
            continue;
        std::string prefix = path.substr(0, i);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A key path component that stays inside its parent folder.
bool IsSafeComponent(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Backslash, tab, line ends and bytes outside printable ASCII are escaped so that every
// value stays on its own line and round-trips byte for byte.
std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (b < 0x20 || b >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool Unescape(const std::string& text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= text.size())
            return false;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0)
                return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

bool ParseNumber(const std::string& text, uint32_t& out)
{
    if (text.empty() || text.size() > 10)
        return false;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu)
        return false;
    out = static_cast<uint32_t>(value);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& out, bool& exists)
{
    exists = false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    exists = true;
    out.clear();
    char chunk[4096];
    bool ok = true;
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        if (out.size() + static_cast<size_t>(got) > MaxValuesFileSize) {
            ok = false;
            break;
        }
        out.append(chunk, static_cast<size_t>(got));
    }
    ::close(fd);
    return ok;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

PXPosixSettingsManager::PXPosixSettingsManager(std::string company, std::string game)
    : PXKeyedSettingsManager(std::move(company), std::move(game))
{
}

PXPosixSettingsManager::~PXPosixSettingsManager()
{
    CloseKey();
}

int PXPosixSettingsManager::CloseKey()
{
    bool wasOpen = m_keyOpen;
    m_keyOpen = false;
    m_openFolder.clear();
    return wasOpen ? 1 : 0;
}

void PXPosixSettingsManager::SelectRoot(bool machine)
{
    SetRootKey(machine ? Root::Machine : Root::User);
}

PXPosixSettingsManager::Root PXPosixSettingsManager::SetRootKey(Root root)
{
    m_root = root;
    return m_root;
}

std::string PXPosixSettingsManager::GetKeyFolder() const
{
    if (m_keyPath.empty())
        return "";
    std::string base = XdgBase("XDG_CONFIG_HOME", ".config");
    if (base.empty())
        return "";
    std::string folder = base + (m_root == Root::Machine ? "/Machine" : "");
    std::string path = m_keyPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = std::min(path.find('/', start), path.size());
        std::string component = path.substr(start, end - start);
        if (!IsSafeComponent(component))
            return "";
        folder += "/" + component;
        start = end + 1;
    }
    return folder;
}

bool PXPosixSettingsManager::Open()
{
    if (m_keyOpen)
        return true;
    std::string folder = GetKeyFolder();
    if (folder.empty() || !MakeFolders(folder))
        return false;
    m_openFolder = folder;
    m_keyOpen = true;
    return true;
}

PXPosixSettingsManager::Values PXPosixSettingsManager::LoadValues() const
{
    std::string path = m_openFolder + "/" + ValuesFileName;
    std::string bytes;
    bool exists = false;
    bool ok = ReadWholeFile(path, bytes, exists);
    Values values;
    if (ok && !exists)
        return values;

    size_t pos = 0;
    bool sawHeader = false;
    while (ok && pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) {
            ok = false;  // a last line without its end: the file was cut short
            break;
        }
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!sawHeader) {
            ok = sawHeader = line == Header;
            continue;
        }
        size_t tab1 = line.find('\t');
        size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) {
            ok = false;
            break;
        }
        std::string tag = line.substr(0, tab1);
        std::string name;
        Value value;
        ok = Unescape(line.substr(tab1 + 1, tab2 - tab1 - 1), name) && !values.count(name);
        if (ok && tag == NumberTag) {
            ok = ParseNumber(line.substr(tab2 + 1), value.number);
        } else if (ok && tag == TextTag) {
            value.isText = true;
            ok = Unescape(line.substr(tab2 + 1), value.text);
        } else {
            ok = false;
        }
        if (ok)
            values.emplace(std::move(name), std::move(value));
    }
    if (ok && sawHeader)
        return values;
    LogF("Settings file %s is damaged; its values are ignored.", path.c_str());
    return Values();
}

bool PXPosixSettingsManager::SaveValues(const Values& values) const
{
    std::string bytes = std::string(Header) + "\n";
    for (const auto& entry : values) {
        const Value& value = entry.second;
        bytes += value.isText ? TextTag : NumberTag;
        bytes += "\t" + Escape(entry.first) + "\t";
        bytes += value.isText ? Escape(value.text) : std::to_string(value.number);
        bytes += "\n";
    }
    // Written beside the old file and renamed over it, so a crash or a full disk leaves
    // either the old values or the new ones, never a mix.
    std::string temp = m_openFolder + "/" + TempFileName;
    std::string target = m_openFolder + "/" + ValuesFileName;
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(m_openFolder);
    return true;
}

bool PXPosixSettingsManager::FindValue(const std::string& name, Value& out) const
{
    Values values = LoadValues();
    auto found = values.find(name);
    if (found == values.end())
        return false;
    out = found->second;
    return true;
}

bool PXPosixSettingsManager::StoreValue(const std::string& name, const Value& value)
{
    Values values = LoadValues();
    values[name] = value;
    return SaveValues(values);
}

bool PXPosixSettingsManager::ReadNumber(const std::string& name, int32_t& out)
{
    Value value;
    if (!FindValue(name, value) || value.isText)
        return false;
    out = static_cast<int32_t>(value.number);
    return true;
}

bool PXPosixSettingsManager::ReadText(const std::string& name, std::string& out)
{
    Value value;
    if (!FindValue(name, value) || !value.isText || value.text.size() > MaxStringLength)
        return false;
    // Text ends at its first zero byte, as a stored C string would.
    out = value.text.substr(0, value.text.find('\0'));
    return true;
}

bool PXPosixSettingsManager::WriteNumber(const std::string& name, int32_t value)
{
    Value stored;
    stored.number = static_cast<uint32_t>(value);
    return StoreValue(name, stored);
}

bool PXPosixSettingsManager::WriteText(const std::string& name, const std::string& value)
{
    Value stored;
    stored.isText = true;
    stored.text = value;
    return StoreValue(name, stored);
}

int PXPosixSettingsManager::ListSubKeys(std::vector<std::string>& out)
{
    if (!Open())
        return Finish(false);
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_openFolder, ec)) {
        std::error_code typeError;
        if (entry.is_directory(typeError))
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    out.insert(out.end(), names.begin(), names.end());
    return Finish(!ec);
}

int PXPosixSettingsManager::DeleteSubKey(const std::string& name)
{
    if (!Open())
        return Finish(false);
    bool ok = false;
    if (IsSafeComponent(name) && name.find('\\') == std::string::npos) {
        std::filesystem::path sub = std::filesystem::path(m_openFolder) / name;
        std::error_code ec;
        ok = std::filesystem::is_directory(std::filesystem::symlink_status(sub, ec)) &&
             std::filesystem::remove_all(sub, ec) > 0 && !ec;
    }
    return Finish(ok);
}

std::string PXPosixSettingsManager::DataFolder(const std::string& sub) const
{
    std::string path = DataFolderPath(XdgBase("XDG_DATA_HOME", ".local/share"), sub);
    // A folder that cannot be made is still returned; the caller's open fails there.
    if (!path.empty())
        MakeFolders(path);
    return path;
}

std::string PXPosixSettingsManager::GetUserDataFolder(const std::string& sub)
{
    return DataFolder(sub);
}

// A normal user cannot write a machine-wide folder here, so shared data sits beside the
// user's own.
std::string PXPosixSettingsManager::GetSharedDataFolder(const std::string& sub)
{
    return DataFolder(sub);
}
