// A private temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TempDir {
public:
    TempDir()
    {
#ifdef _WIN32
        // No mkdtemp on Windows: try random names until a new folder is made.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            std::filesystem::path candidate =
                std::filesystem::temp_directory_path() / ("sftest-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec))
                m_path = candidate;
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "sftest-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        m_path = made ? std::filesystem::path(made) : std::filesystem::path();
#endif
    }
    ~TempDir()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder with a trailing separator, as the engine's folder paths are written.
    std::string Folder() const { return m_path.string() + "/"; }

    void Write(const std::string& relative, const std::string& bytes) const
    {
        std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
    }
    std::string Read(const std::string& relative) const
    {
        std::ifstream in(m_path / relative, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
