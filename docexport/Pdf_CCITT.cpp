#include "docexport/Pdf_CCITT.h"

#include <cstdlib>
#include <string>

namespace tessaran {

namespace {

// Terminating codes for runs 0 to 63.
const char *const WhiteTerminating[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100"};
const char *const BlackTerminating[64] = {
    "0000110111",   "010",          "11",           "10",           "011",          "0011",
    "0010",         "00011",        "000101",       "000100",       "0000100",      "0000101",
    "0000111",      "00000100",     "00000111",     "000011000",    "0000010111",   "0000011000",
    "0000001000",   "00001100111",  "00001101000",  "00001101100",  "00000110111",  "00000101000",
    "00000010111",  "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010", "000011010011",
    "000011010100", "000011010101", "000011010110", "000011010111", "000001101100", "000001101101",
    "000011011010", "000011011011", "000001010100", "000001010101", "000001010110", "000001010111",
    "000001100100", "000001100101", "000001010010", "000001010011", "000000100100", "000000110111",
    "000000111000", "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111"};
// Make-up codes for 64 to 1728 by steps of 64.
const char *const WhiteMakeUp[27] = {
    "11011",     "10010",     "010111",    "0110111",   "00110110",  "00110111",  "01100100",
    "01100101",  "01101000",  "01100111",  "011001100", "011001101", "011010010", "011010011",
    "011010100", "011010101", "011010110", "011010111", "011011000", "011011001", "011011010",
    "011011011", "010011000", "010011001", "010011010", "011000",    "010011011"};
const char *const BlackMakeUp[27] = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",  "000000110100",
    "000000110101",  "0000001101100", "0000001101101", "0000001001010", "0000001001011", "0000001001100",
    "0000001001101", "0000001110010", "0000001110011", "0000001110100", "0000001110101", "0000001110110",
    "0000001110111", "0000001010010", "0000001010011", "0000001010100", "0000001010101", "0000001011010",
    "0000001011011", "0000001100100", "0000001100101"};
// Make-up codes for 1792 to 2560, the same for both colours.
const char *const SharedMakeUp[13] = {"00000001000",  "00000001100",  "00000001101",  "000000010010", "000000010011",
                                      "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
                                      "000000011101", "000000011110", "000000011111"};

const char *const ModePass = "0001";
const char *const ModeHorizontal = "001";
const char *const ModeVertical[7] = {"0000010", "000010", "010", "1", "011", "000011", "0000011"}; // -3 .. 3
const char *const EndOfFacsimileBlock = "000000000001000000000001";

class BitWriter {
public:
    explicit BitWriter(TMemoryStream &out) : FOut(out) {}
    void Append(const char *code)
    {
        for (const char *c = code; *c; ++c) {
            FByte = static_cast<std::uint8_t>((FByte << 1) | (*c == '1'));
            if (++FCount == 8) {
                FOut.WriteBuffer(&FByte, 1);
                FByte = 0;
                FCount = 0;
            }
        }
    }
    // The pending bits completed with 0 bits to a byte; nothing when none.
    void Flush()
    {
        if (FCount == 0)
            return;
        FByte = static_cast<std::uint8_t>(FByte << (8 - FCount));
        FOut.WriteBuffer(&FByte, 1);
        FByte = 0;
        FCount = 0;
    }

private:
    TMemoryStream &FOut;
    std::uint8_t FByte = 0;
    int FCount = 0;
};

void CodeRun(BitWriter &bits, int n, bool black)
{
    while (n >= 2560) {
        bits.Append(SharedMakeUp[12]);
        n -= 2560;
    }
    if (n > 63) {
        const int makeUp = n / 64; // 1 .. 39
        bits.Append(makeUp <= 27 ? (black ? BlackMakeUp : WhiteMakeUp)[makeUp - 1] : SharedMakeUp[makeUp - 28]);
        n %= 64;
    }
    bits.Append((black ? BlackTerminating : WhiteTerminating)[n]);
}

// Changing elements of a row: the 1-based positions where the colour
// changes (the imaginary pixel before the row is white), ended by width + 1.
std::vector<int> ChangingElements(const std::uint8_t *row, int width)
{
    std::vector<int> changes;
    bool black = false;
    for (int p = 0; p < width; ++p) {
        const bool pixelBlack = row[p] == 0;
        if (pixelBlack != black) {
            changes.push_back(p + 1);
            black = pixelBlack;
        }
    }
    changes.push_back(width + 1);
    return changes;
}

} // namespace

std::vector<std::uint8_t> MonochromeSamples(const TBitmap &bitmap)
{
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height());
    const int bpp = bitmap.BytesPerPixel();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t *line = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint8_t *p = line + static_cast<std::size_t>(x) * bpp;
            const int level = (p[0] + p[1] + p[2]) / 3;
            samples[static_cast<std::size_t>(y) * bitmap.Width() + x] = level < 128 ? 0 : 255;
        }
    }
    return samples;
}

std::unique_ptr<TMemoryStream> EncodeCCITT1D(const std::vector<std::uint8_t> &samples, int width, int height)
{
    auto out = std::make_unique<TMemoryStream>();
    if (width <= 0 || height <= 0 || samples.size() < static_cast<std::size_t>(width) * height)
        return out;
    BitWriter bits(*out);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *row = samples.data() + static_cast<std::size_t>(y) * width;
        int i = 0;
        while (i < width) {
            int start = i;
            while (i < width && row[i] != 0)
                ++i;
            CodeRun(bits, i - start, false);
            if (i < width) {
                start = i;
                while (i < width && row[i] == 0)
                    ++i;
                CodeRun(bits, i - start, true);
            }
        }
    }
    bits.Flush();
    out->Seek(0);
    return out;
}

std::unique_ptr<TMemoryStream> EncodeCCITTGroup4(const std::vector<std::uint8_t> &samples, int width, int height)
{
    auto out = std::make_unique<TMemoryStream>();
    BitWriter bits(*out);
    if (width > 0 && samples.size() >= static_cast<std::size_t>(width) * std::max(height, 0)) {
        std::vector<int> reference{width + 1};
        for (int y = 0; y < height; ++y) {
            const std::uint8_t *row = samples.data() + static_cast<std::size_t>(y) * width;
            const std::vector<int> coding = ChangingElements(row, width);
            // Change k (from 0) turns to black when k is even.
            auto firstAfter = [](const std::vector<int> &changes, int a0, bool toBlack, std::size_t &index) {
                for (std::size_t k = 0; k < changes.size(); ++k)
                    if (changes[k] > a0 && (changes[k] == changes.back() || ((k % 2 == 0) == toBlack))) {
                        index = k;
                        return changes[k];
                    }
                index = changes.size() - 1;
                return changes.back();
            };
            int a0 = 0;
            bool black = false; // colour of a0
            while (a0 != width + 1) {
                std::size_t ia1 = 0;
                int a1 = coding.back();
                for (std::size_t k = 0; k < coding.size(); ++k)
                    if (coding[k] > a0) {
                        a1 = coding[k];
                        ia1 = k;
                        break;
                    }
                const int a2 = ia1 + 1 < coding.size() ? coding[ia1 + 1] : -1;
                std::size_t ib1 = 0;
                const int b1 = firstAfter(reference, a0, !black, ib1);
                const int b2 = ib1 + 1 < reference.size() ? reference[ib1 + 1] : -1;
                if (b2 >= 0 && b2 < a1) {
                    bits.Append(ModePass);
                    a0 = b2;
                } else if (std::abs(a1 - b1) <= 3) {
                    bits.Append(ModeVertical[a1 - b1 + 3]);
                    a0 = a1;
                    black = !black;
                } else {
                    const int end = a2 < 0 ? a1 : a2;
                    bits.Append(ModeHorizontal);
                    const int first = a0 == 0 ? a1 - 1 : a1 - a0;
                    CodeRun(bits, first, black);
                    CodeRun(bits, end - a1, !black);
                    a0 = end;
                }
            }
            reference = coding;
        }
    }
    bits.Append(EndOfFacsimileBlock);
    bits.Flush();
    out->Seek(0);
    return out;
}

} // namespace tessaran
