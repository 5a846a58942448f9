#pragma once
// Reading back the PDF files the tests write: objects by number, the page
// content streams (inflated when deflated), save/restore balance, and the
// independent tools that check and render a file.

#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tessaran::pdftest {

inline std::string ReadFileText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text from "N 0 obj" CR LF up to, not including, "endobj".
inline std::string ObjectText(const std::string &pdf, int objNo)
{
    const std::string header = std::to_string(objNo) + " 0 obj\r\n";
    std::size_t at = 0;
    while ((at = pdf.find(header, at)) != std::string::npos) {
        if (at == 0 || pdf[at - 1] == '\n')
            break;
        at += header.size();
    }
    if (at == std::string::npos)
        return "";
    const std::size_t end = pdf.find("endobj", at);
    return pdf.substr(at + header.size(), end - at - header.size());
}

inline std::string Inflate(const std::string &data)
{
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    std::string out;
    char buffer[65536];
    int rc;
    do {
        zs.next_out = reinterpret_cast<Bytef *>(buffer);
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - zs.avail_out);
    } while (rc == Z_OK);
    inflateEnd(&zs);
    return rc == Z_STREAM_END ? out : "<inflate failed>";
}

// The data of stream object objNo, inflated when its dictionary says so.
inline std::string StreamData(const std::string &pdf, int objNo)
{
    const std::string object = ObjectText(pdf, objNo);
    const std::size_t start = object.find("stream\r\n");
    const std::size_t end = object.rfind("\r\nendstream");
    if (start == std::string::npos || end == std::string::npos)
        return "";
    const std::string data = object.substr(start + 8, end - start - 8);
    return object.find("/FlateDecode") < start ? Inflate(data) : data;
}

inline int IntAfter(const std::string &text, const std::string &key)
{
    const std::size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + key.size()));
}

// The content stream of every page, in page-tree order.
inline std::vector<std::string> PageContents(const std::string &pdf)
{
    std::vector<std::string> contents;
    const std::string tree = ObjectText(pdf, 2);
    std::istringstream kids(tree.substr(tree.find("/Kids [") + 7));
    int page, generation;
    std::string r;
    while (kids >> page >> generation >> r && r.rfind("R", 0) == 0)
        contents.push_back(StreamData(pdf, IntAfter(ObjectText(pdf, page), "/Contents ")));
    return contents;
}

// Every "q" is closed by a later "Q" and no "Q" comes without one.
inline bool SavesAndRestoresBalance(const std::string &content)
{
    std::istringstream tokens(content);
    std::string token;
    int depth = 0;
    while (tokens >> token) {
        if (token == "q")
            ++depth;
        else if (token == "Q" && --depth < 0)
            return false;
    }
    return depth == 0;
}

// Exit status and output of a shell command.
inline int RunCommand(const std::string &command, std::string *output = nullptr)
{
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool HasTool(const std::string &name) { return RunCommand("command -v " + name + " >/dev/null") == 0; }

// A binary PPM image.
struct Image {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Rgb;
    const unsigned char *At(int x, int y) const { return &Rgb[(static_cast<std::size_t>(y) * Width + x) * 3]; }
};

inline Image ReadPPM(const std::string &path)
{
    Image image;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.Width >> image.Height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255)
        return Image{};
    image.Rgb.resize(static_cast<std::size_t>(image.Width) * image.Height * 3);
    in.read(reinterpret_cast<char *>(image.Rgb.data()), static_cast<std::streamsize>(image.Rgb.size()));
    return image;
}

} // namespace tessaran::pdftest
