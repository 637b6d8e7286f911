// What the fuzz targets share: a private per-user folder under a temporary HOME, a quiet
// log, an input's bytes written to a file, and the check that turns a broken promise
// (a file the game wrote that does not read back equal) into a finding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzkit
{

// The key of the encrypted files the targets read and the seed maker writes.
constexpr const char *kEncryptionKey = "FUZZ_KEY_ABCDE";
// The player whose file the player-file target reads.
constexpr const char *kPlayerName = "Fuzzer";

// Made on the first call: HOME and the XDG folders point into a fresh temporary folder
// and the log goes to /dev/null. Answers the temporary folder.
const std::string &Home();
// The game's per-user folder under Home().
std::string UserFolder();
void WriteBytes(const std::string &path, const uint8_t *data, size_t size);
std::string ReadBytes(const std::string &path);
// A finding: prints `what` and aborts, so that libFuzzer keeps the input.
void Check(bool condition, const char *what);
// A finding unless the two records are byte for byte the same; names the first offset
// that differs.
void CheckSame(const void *expected, const void *actual, size_t size, const char *what);
// Reads every byte, so that the sanitizers see a block handed out that is not all there.
void Touch(const void *bytes, size_t size);
// Forgets the log's messages; called between inputs.
void ClearLog();

} // namespace fuzzkit
