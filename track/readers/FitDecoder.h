#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// One position from a FIT record message, converted but not yet checked for range.
struct FitPoint {
    int64_t time = -1;          // seconds since 1970 UTC; -1 when the record has none
    double lat = 0;             // degrees
    double lon = 0;
    bool hasElevation = false;
    int64_t decimetres = 0;     // elevation in tenths of a metre (FIT keeps 0.2 m steps)
};

// Decodes FIT files (Garmin, Wahoo and others) from bytes fed in order, in pieces of any
// size; between calls it holds back no more than the bytes of one unfinished message.
// Files chained one after another are read in turn; bytes after a file that don't start
// another FIT header are ignored. Record messages (global number 20) with a position go to
// onPoint as they are read, before the file's checksum is known: drop them on an error.
// Everything else is checked for structure and skipped. A fault in the records is reported
// only once the checksum says the bytes are as written ("damaged FIT file (checksum)"
// otherwise).
class FitDecoder {
public:
    explicit FitDecoder(std::function<void(const FitPoint&)> onPoint) : onPoint(std::move(onPoint)) {}

    // False once the bytes can't be a FIT file; Error() then says why.
    bool Feed(const char* data, size_t size);
    // False when the input ended inside a file (or held none).
    bool Finish();

    const std::string& Error() const { return error; }
    // Record messages read that had no valid position (an indoor activity has only these).
    int64_t RecordsWithoutPosition() const { return withoutPosition; }

private:
    struct Field {
        uint8_t number;
        uint8_t size;
        uint32_t offset;        // from the start of the message's content
    };
    struct Definition {
        bool defined = false;
        bool bigEndian = false;
        uint16_t global = 0;
        uint32_t size = 0;      // content bytes of each data message, developer fields included
        std::vector<Field> fields;
    };
    enum class Stage { Header, Records, Skip, Crc, Trailing };

    bool Step(const uint8_t* p, size_t available, size_t& used);
    bool ReadHeader(const uint8_t* p, size_t available, size_t& used);
    bool ReadRecord(const uint8_t* p, size_t available, size_t& used);
    // A definition message at p: true with its length once whole and sound; false while its
    // bytes are still to come, or with the damage noted.
    bool ReadDefinition(const uint8_t* p, size_t available, size_t& length);
    // True when the first n bytes of a message are there; a message running past the file's
    // data is damage, noted (false) before waiting for bytes that belong to no message.
    bool Have(uint64_t n, size_t available);
    // Notes the damage why and skips the rest of the file's records; false.
    bool Damaged(const char* why);
    void DecodeData(const Definition& def, const uint8_t* content, bool compressed, uint8_t offset);
    bool Fail(const std::string& why);

    std::function<void(const FitPoint&)> onPoint;
    std::string pending;        // bytes fed but not yet making up a whole step
    Stage stage = Stage::Header;
    int files = 0;              // files read to their checksum
    uint16_t crc = 0;           // of the current file so far
    uint64_t remaining = 0;     // record bytes left in the current file
    std::string damage;         // a fault found in the records, said once the checksum is known
    Definition definitions[16];
    bool haveTimestamp = false;
    uint32_t lastTimestamp = 0; // FIT seconds, from the last timestamp field or compressed header
    int64_t withoutPosition = 0;
    std::string error;
};
