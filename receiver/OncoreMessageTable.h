// What the program knows of each Motorola Oncore message id, in one table that the framer and the decoder
// both read: the length the framer cuts the message at, the length the decoder takes it at, the decoder's
// handler and how the message reaches the receiver-ID window.
#pragma once

// The decoder's handler of a message; messages of one family share one.
enum class OncoreHandler : unsigned char {
    kNone,    // framed, but only named by the decoder
    kNothing, // recognised; adds no text
    // Position and status.
    kBa,
    kEa,
    kHa,
    kHb,
    kHr,
    // Time, T-RAIM and DOP.
    kBo,
    kBj,
    kGj,
    kBnEn,
    kHn,
    kBkEk,
    kCk,
    // Satellites, almanac, ephemeris and raw data.
    kBb,
    kBd,
    kBfCc,
    kCb,
    kCe,
    kBgEg,
    kEq,
    kSa,
    kTk,
    kTr,
    // Identification, configuration echoes and self tests.
    kCj,
    kEcho,
    kCa,
    kFa,
    kIa,
};

enum class OncoreLengthRule : unsigned char {
    kFramed,  // exactly the framed length without checksum, CR and LF
    kAtLeast, // at least `minLength` units
    kAny,     // any length: the handler reads nothing, or checks by a count of its own
};

// How a decoded message reaches the receiver-ID window while the window is open.
enum class RxIdWindowUse : unsigned char {
    kNone,
    kAddsText,            // its text is added
    kReplacesText,        // the whole message replaces the window's text, before it is decoded
    kAddsTraimStatusOnce, // its text is added once after each T-RAIM set-up
    kAddsReport,          // the self-test handler adds its report before it restarts position fixing
};

struct OncoreMessageKind {
    char id[3];
    int framedLength; // "@@" to LF; 0 for an id the framer never delivers
    OncoreHandler handler;
    OncoreLengthRule rule;
    int minLength;
    // Answered alone, instead of decoding, for a message of another length; without it such a message is
    // only named.
    const char16_t* lengthError;
    RxIdWindowUse rxIdWindow;

    // Whether the decoder takes a message of `length` units (checksum, CR and LF already gone).
    bool TakesLength(int length) const;
};

// The table entry of the id letters; null for an id the program does not know.
const OncoreMessageKind* FindOncoreMessage(char16_t first, char16_t second);
// The whole length of a message (from the first "@" to the LF) for the id letters, 0 when it is not framed.
int OncoreMessageLength(char16_t first, char16_t second);
