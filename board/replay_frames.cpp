// The frames of a recording (see replay_frames.h).
#include "replay_frames.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cassert>
#include <memory>
#include <numeric>

namespace {

bool isHeaderLine(std::string_view line) {
    for (std::string_view keyword :
         {"QUORLAND-REPLAY ", "seed ", "window ", "camera ", "renderer ", "missing "}) {
        if (line.substr(0, keyword.size()) == keyword) {
            return true;
        }
    }
    return false;
}

bool isFrameLine(std::string_view line) {
    return line == "m" || line.substr(0, 2) == "g ";
}

struct DigestFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Digest = std::unique_ptr<EVP_MD_CTX, DigestFree>;

std::string hexOf(const unsigned char* bytes, unsigned int size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

// The hash of what `running` has taken in so far, leaving it running.
std::string snapshot(const EVP_MD_CTX* running) {
    Digest copy(EVP_MD_CTX_new());
    EVP_MD_CTX_copy_ex(copy.get(), running);
    unsigned char bytes[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(copy.get(), bytes, &size);
    return hexOf(bytes, size);
}

}  // namespace

ReplayFrames::ReplayFrames(std::string_view text) {
    bool inHeader = true;
    std::string group;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            break;  // a last line without its line feed is cut off
        }
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        inHeader = inHeader && isHeaderLine(line);
        if (inHeader || line.substr(0, 4) == "end ") {
            continue;
        }
        group.append(line).push_back('\n');
        if (isFrameLine(line)) {
            frameText_ += group;
            ends_.push_back(frameText_.size());
            group.clear();
        }
    }
}

std::string ReplayFrames::prefixHash(std::size_t frames) const {
    return prefixHashes({frames}).front();
}

std::vector<std::string> ReplayFrames::prefixHashes(const std::vector<std::size_t>& counts) const {
    std::vector<std::size_t> order(counts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return counts[a] < counts[b]; });
    Digest running(EVP_MD_CTX_new());
    EVP_DigestInit_ex(running.get(), EVP_sha256(), nullptr);
    std::vector<std::string> hashes(counts.size());
    std::size_t hashedBytes = 0;
    for (std::size_t index : order) {
        assert(counts[index] <= count());
        const std::size_t end = counts[index] == 0 ? 0 : ends_[counts[index] - 1];
        EVP_DigestUpdate(running.get(), frameText_.data() + hashedBytes, end - hashedBytes);
        hashedBytes = end;
        hashes[index] = snapshot(running.get());
    }
    return hashes;
}
