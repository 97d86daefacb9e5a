#pragma once
// The "CMSCP/1.0" message record: the in-memory form of one
// protocol message, its setters and getters, the serialiser and the parser.
// A plain record with free functions; no lock, no input or output.
#include <cstddef>
#include <cstdint>

// One message travels as a block of exactly this many bytes: the text, then
// zero bytes. A text (without its NUL) is at most kScpMaxBlockText bytes.
constexpr std::size_t kScpBlockSize = 1212;
constexpr std::size_t kScpMaxBlockText = kScpBlockSize - 1;  // 1211
// Size of the body buffer; a body holds at most kScpBodyCapacity - 1 bytes.
constexpr std::size_t kScpBodyCapacity = 4096;

// Message kinds.
constexpr std::int32_t kScpKindReq = 0;
constexpr std::int32_t kScpKindAck = 1;
constexpr std::int32_t kScpKindCancel = 2;

// Text fields hold NUL-terminated text of at most sizeof(field) - 1 bytes.
struct ScpMessage {
  std::uint8_t version;  // 1 at creation; never written to the text
  std::int32_t kind;     // kScpKindReq, kScpKindAck, kScpKindCancel
  char CType[32];
  char CName[32];
  char Cmd[32];  // command word the receiver dispatches on
  char From[32];
  char To[32];
  char ContentType[32];
  char Contact[32];
  char CallID[64];
  std::int32_t Class;          // gateway id in most requests
  std::int32_t CSeq;           // sequence number
  std::int32_t ContentLength;  // body bytes held (0..4095)
  std::uint8_t AckCode;        // number after "ACK" in the start line; 200 at creation
  std::uint8_t* body;          // owned buffer of kScpBodyCapacity bytes
};

// Allocates a zero-filled record (version 1, the given kind, AckCode 200) with
// a zero-filled body buffer and stores it in *out. False, with *out = NULL when
// out is not NULL, when allocation fails or out is NULL.
bool ScpMessageCreate(ScpMessage** out, int kind);
// Zero-fills every field (kind REQ, AckCode 0, version 0, ContentLength 0) and
// the body buffer, which stays owned by the record. NULL is ignored.
void ScpMessageReset(ScpMessage* msg);
// Frees the body buffer and the record; NULL is ignored.
void ScpMessageFree(ScpMessage* msg);

// Text setters: zero-fill the whole field, then copy the text. A text that
// does not fit the field (31 bytes, CallID 63), a NULL text or a NULL record
// is refused: false, field unchanged. Getters return the field ("" for NULL).
bool ScpMessageSetCType(ScpMessage* msg, const char* text);
bool ScpMessageSetCName(ScpMessage* msg, const char* text);
bool ScpMessageSetCmd(ScpMessage* msg, const char* text);
bool ScpMessageSetTo(ScpMessage* msg, const char* text);
bool ScpMessageSetFrom(ScpMessage* msg, const char* text);
bool ScpMessageSetContact(ScpMessage* msg, const char* text);
bool ScpMessageSetContentType(ScpMessage* msg, const char* text);
bool ScpMessageSetCallID(ScpMessage* msg, const char* text);
const char* ScpMessageGetCType(const ScpMessage* msg);
const char* ScpMessageGetCName(const ScpMessage* msg);
const char* ScpMessageGetCmd(const ScpMessage* msg);
const char* ScpMessageGetTo(const ScpMessage* msg);
const char* ScpMessageGetFrom(const ScpMessage* msg);
const char* ScpMessageGetContact(const ScpMessage* msg);
const char* ScpMessageGetContentType(const ScpMessage* msg);
const char* ScpMessageGetCallID(const ScpMessage* msg);

// Numbers; getters give 0 for a NULL record.
void ScpMessageSetClass(ScpMessage* msg, int value);
int ScpMessageGetClass(const ScpMessage* msg);
void ScpMessageSetCSeq(ScpMessage* msg, int value);
int ScpMessageGetCSeq(const ScpMessage* msg);

// Sets kind and AckCode. GetKind returns the kind (-1 for a NULL record) and
// writes AckCode to *ackCode when ackCode is not NULL.
void ScpMessageSetKind(ScpMessage* msg, int kind, std::uint8_t ackCode);
int ScpMessageGetKind(const ScpMessage* msg, std::uint8_t* ackCode);

// Does nothing (false) when msg or bytes is NULL, length is 0 or length is
// 4096 or more; otherwise zero-fills the body buffer (allocating it when
// missing), copies the bytes and sets ContentLength (true).
bool ScpMessageSetBody(ScpMessage* msg, const void* bytes, unsigned length);
// Returns the body buffer (NULL for a NULL record) and writes the number of
// body bytes held to *length when length is not NULL: ContentLength, or 0 when
// ContentLength is outside 0..4095 or there is no buffer.
const std::uint8_t* ScpMessageGetBody(const ScpMessage* msg, unsigned* length);

// Writes the text and a NUL into out[0..capacity) and returns the text length
// (the NUL not counted). Returns 0 and writes nothing when msg or out is NULL
// or the text and its NUL do not fit `capacity`. Lines by kind (each ends CR LF):
//   REQ:    "CMSCP/1.0 REQ", CType, CName, Class, Cmd, CallID, CSeq, To (only
//           when not empty), From, Contact
//   ACK:    "CMSCP/1.0 ACK <AckCode>", CType, Cmd, CSeq, Contact, Class
//   CANCEL: "CMSCP/1.0 CANCEL"
//   other:  none
// then "Content-Type:..", "Content-Length:<n>", the n body bytes, CR LF CR LF.
// n is the number of body bytes held (see ScpMessageGetBody), so a stored
// ContentLength that is negative or 4096 or more is written (and read) as 0.
std::size_t ScpMessageSerialize(const ScpMessage* msg, char* out, std::size_t capacity);

// Zero-fills the kScpBlockSize-byte block and serialises into it; returns the
// text length, or 0 (block left all zero) when msg or block is NULL or the
// text is longer than kScpMaxBlockText bytes. This is the unit the session sends.
std::size_t ScpMessageSerializeBlock(const ScpMessage* msg, char* block);

// Reads the text in [text, text + length) into the record and returns the
// number of recognised lines. Never reads outside that range and never
// modifies the text. Lines end at the first NUL (if any) within the range;
// body bytes are taken from the whole range. Returns 0, changing nothing, for
// a NULL record or text or fewer than 10 characters of line text.
// - Lines split at runs of CR and LF. A line without ':' and without
//   "CMSCP/1.0" ends the parse. A line's class is the first of "CMSCP/1.0",
//   "CType:", "CName:", "Class:", "Cmd:", "CallID:", "CSeq:", "To:", "From:",
//   "Contact:", "Content-Type:", "Content-Length:" found anywhere in it; a line
//   with ':' and none of them is skipped (not counted).
// - Start line: the text after its first blank (none ends the parse), trimmed:
//   "REQ" -> REQ; else "ACK" -> ACK with AckCode = ParseInteger of the trimmed
//   text after the first blank following "ACK" (0 when there is none), low 8
//   bits; else "CANCEL" -> CANCEL; else the kind is unchanged.
// - Header line: when the header name starts within the first 2 bytes of the
//   text, the parse ends. The value (after the line's first ':', trimmed of
//   blanks) is cut at the field width; Class and CSeq take ParseInteger.
// - Content-Length n from 1 to 4095: the body buffer is zero-filled and the
//   bytes from 2 bytes after the end of that line (after its CR LF) are copied,
//   at most n and at most as many as the range holds; ContentLength = bytes
//   copied; the parse ends (that line not counted). Any other n (0, negative,
//   4096 or more): ContentLength 0, body unchanged, parsing continues.
// - The start line and every other named header line count 1.
int ScpMessageParse(ScpMessage* msg, const char* text, std::size_t length);

// Integer of a header value: optional leading '-'; then "0x"/"0X" selects
// base 16, another leading '0' base 8, anything else base 10. Every remaining
// character counts as a digit (code - '0'; in base 16 a character outside
// '0'-'9' counts (code | 0x20) - 87), none is rejected. Accumulates modulo
// 2^32 and returns the result as int32. NULL gives 0. The first form reads to
// the NUL, the second `length` bytes (stopping at a NUL).
std::int32_t ParseInteger(const char* text);
std::int32_t ParseInteger(const char* text, std::size_t length);

// Returns a pointer to the first character that is not a blank (0x20) and
// overwrites trailing blanks with zero bytes; tabs are not blanks. NULL gives NULL.
char* TrimSpaces(char* text);
