// gorvpackage: writes the manifests of the install package of a built game directory.
//
//   gorvpackage <game directory> <head manifest> <output folder>
//
// Takes from the game directory every program (a file that may be run, but not the installer), data
// module (*.dll), font (*.ttf, *.otf) and "startup.dat", and the songs (*.mid) of its subdirectories;
// what the game writes as it runs ("gorvanel.ini", "debug.txt") and anything else stays out. The files of
// the game directory itself make the component "GAME.DLL", installed into the install directory (ROOT
// "#"); those of a subdirectory make one component named after it ("Music": "MUSIC.DLL", ROOT "Music").
//
// Writes one manifest per module into the output folder, named <module>.manifest: one per component,
// and "INSTALL.DLL.manifest": the head manifest (the package's texts and background, with full paths)
// followed by the list of components. gorvpack packs each into the module of its name.
//
// A file is listed with its name, its size, its bytes and its mode ("MODE" 493 for 0755 when it may be
// run, 420 for 0644 otherwise). Names are sorted, so that one game directory always gives one package.
// Errors end the program with status 1.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Component {
    std::string module;     // "GAME.DLL"
    std::string root;       // "#" or the subdirectory
    std::vector<fs::path> files;
};

std::string Lower(std::string s)
{
    for (char& c : s)
        c = c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
    return s;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
    return s;
}

bool Fail(const std::string& message)
{
    fprintf(stderr, "gorvpackage: %s\n", message.c_str());
    return true;
}

bool Runnable(const fs::path& path)
{
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// True for a file of the game directory itself that the game needs.
bool IsGameFile(const fs::path& path)
{
    const std::string name = path.filename().string();
    const std::string extension = Lower(path.extension().string());
    if (name == "installer")
        return false;
    return extension == ".dll" || extension == ".ttf" || extension == ".otf" || Lower(name) == "startup.dat"
           || Runnable(path);
}

// A name the manifest can carry as it is: printable ASCII, no '\' (an escape), no space at either end.
bool PlainName(const std::string& name)
{
    if (name.empty() || name.front() == ' ' || name.back() == ' ')
        return false;
    return std::all_of(name.begin(), name.end(), [](const char c) { return c > 0x1F && c < 0x7F && c != '\\'; });
}

// The components of the game directory, each with its files sorted; true on failure (reported).
bool FindComponents(const fs::path& game, std::vector<Component>& components)
{
    std::error_code error;
    Component top = {"GAME.DLL", "#", {}};
    std::vector<fs::path> subdirs;
    for (const fs::directory_entry& e : fs::directory_iterator(game, error)) {
        if (e.is_symlink())
            continue;
        if (e.is_directory())
            subdirs.push_back(e.path());
        else if (e.is_regular_file() && IsGameFile(e.path()))
            top.files.push_back(e.path());
    }
    if (error)
        return Fail("cannot read " + game.string() + ": " + error.message());
    std::sort(subdirs.begin(), subdirs.end());
    components.push_back(top);
    for (const fs::path& dir : subdirs) {
        Component sub = {Upper(dir.filename().string()) + ".DLL", dir.filename().string(), {}};
        for (const fs::directory_entry& e : fs::directory_iterator(dir, error))
            if (!e.is_symlink() && e.is_regular_file() && Lower(e.path().extension().string()) == ".mid")
                sub.files.push_back(e.path());
        if (!sub.files.empty())
            components.push_back(sub);
    }
    for (Component& c : components) {
        std::sort(c.files.begin(), c.files.end());
        if (!PlainName(c.root))
            return Fail("cannot package the directory '" + c.root + "'");
        for (const fs::path& file : c.files)
            if (!PlainName(file.filename().string()))
                return Fail("cannot package the file '" + file.string() + "'");
    }
    if (components[0].files.empty())
        return Fail(game.string() + " holds no game files");
    return false;
}

std::string ComponentManifest(const Component& c)
{
    std::ostringstream m;
    m << "# " << c.module << ": written by gorvpackage\n"
      << "number RCDATA TQINSTALLHEAD 137\n"
      << "text RCDATA ROOT " << c.root << "\n"
      << "number RCDATA NUMFILES " << c.files.size() << "\n";
    for (size_t j = 0; j < c.files.size(); j++) {
        const size_t n = 10000 + j;
        m << "text RCDATA FILE" << n << " " << c.files[j].filename().string() << "\n"
          << "number RCDATA SIZE" << n << " " << fs::file_size(c.files[j]) << "\n"
          << "resource RCDATA DATA" << n << " " << fs::absolute(c.files[j]).string() << "\n"
          << "number RCDATA MODE" << n << " " << (Runnable(c.files[j]) ? 0755 : 0644) << "\n";
    }
    return m.str();
}

std::string PackageManifest(const std::string& head, const std::vector<Component>& components)
{
    std::ostringstream m;
    m << head;
    if (!head.empty() && head.back() != '\n')
        m << "\n";
    m << "# The components: written by gorvpackage\n"
      << "number RCDATA NUMDIRECTORIES " << components.size() << "\n";
    for (size_t i = 0; i < components.size(); i++)
        m << "text RCDATA DIR" << 10000 + i << " " << components[i].module << "\n";
    return m.str();
}

bool WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out ? Fail("cannot write " + path.string()) : false;
}

int Run(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: gorvpackage <game directory> <head manifest> <output folder>\n");
        return 2;
    }
    const fs::path game = argv[1];
    const fs::path out = argv[3];
    std::ifstream in(argv[2], std::ios::binary);
    std::ostringstream head;
    head << in.rdbuf();
    if (!in)
        return Fail(std::string("cannot read ") + argv[2]) ? 1 : 0;
    std::vector<Component> components;
    if (FindComponents(game, components))
        return 1;
    std::error_code error;
    fs::create_directories(out, error);
    for (const Component& c : components) {
        if (WriteText(out / (c.module + ".manifest"), ComponentManifest(c)))
            return 1;
        printf("%s: %zu files into %s\n", c.module.c_str(), c.files.size(), c.root == "#" ? "the game directory"
                                                                                           : c.root.c_str());
    }
    return WriteText(out / "INSTALL.DLL.manifest", PackageManifest(head.str(), components)) ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const fs::filesystem_error& error) {
        Fail(error.what());
        return 1;
    }
}
