// The test database: a MongoDB wire-protocol server (tests/dbserver/server.py)
// listening on 127.0.0.1:27017, started once per test binary and controlled
// from the tests through a private channel (the server's stdin and stdout), so
// that the control keeps working while the data port refuses connections.
//
// Documents and requests cross the channel as canonical extended JSON
// (ObjectId as {"$oid": ...}, int64 as {"$numberLong": ...}, doubles as
// {"$numberDouble": ...}, dates as {"$date": {"$numberLong": ...}}, int32 as a
// plain number, text as UTF-8), with ", " and ": " between items, so a test
// can compare exact BSON types as text.
//
// The server answers as mongod does over the legacy protocol: a first batch
// of 101 documents (or just over 1 MB) when numberToReturn is 0, one batch
// and a closed cursor for 1 or a negative number, batches of n otherwise;
// get-more batches of its numberToReturn (0: just over 4 MB); "_id" first in
// every stored document; write errors reported by getLastError only. An
// OP_INSERT, OP_UPDATE or OP_DELETE has no reply, so a test sees its effect
// for sure only after a request with a reply (getLastError) on the same
// connection came back.
//
// Every call fails the current test (a GoogleTest failure, then an exception)
// when the server refuses it or does not answer; Get() ends the binary when
// the server cannot be started at all.

#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace TESTSUPPORT {

class TestServer {
public:
    static constexpr const char* kHost = "127.0.0.1";
    static constexpr int kPort = 27017;

    // The first call starts server.py and waits until it listens; the binary
    // exits with a message on stderr when it cannot (port taken, python
    // missing). The server is killed when the binary exits and ends by itself
    // when the binary dies (its stdin closes).
    static TestServer& Get();

    // Drops every collection of every database, clears the connection counters
    // (open connections stay open and counted), the request log, every
    // pending fault and the refusal of legacy opcodes, and opens the data port
    // if it was stopped or stopped accepting.
    void Reset();

    // Appends documents to "kelden.<collection>"; a collection name holding a
    // dot ("admin.things") is taken as "<database>.<collection>" instead.
    // extendedJsonArray is an extended JSON array of documents, stored as an
    // insert stores them ("_id" moved first, an ObjectId made when missing); a
    // duplicate "_id" refuses the call, the documents before it stay.
    void Seed(const std::string& collection, const std::string& extendedJsonArray);
    // Appends the documents of a file {"collection": [docs...], ...}.
    void SeedFile(const std::string& path);

    // Canonical extended JSON array of the collection's documents in stored
    // order ("[]" when the collection does not exist).
    std::string Documents(const std::string& collection);
    // Canonical extended JSON of the collection's one document whose "_id"
    // equals idExtendedJson (e.g. "{\"$oid\": \"...\"}" or "7"), "" if none.
    std::string Document(const std::string& collection, const std::string& idExtendedJson);
    // Canonical form of any extended JSON value, for comparing with the above.
    std::string Canonical(const std::string& extendedJson);

    // Every connect that returned to its caller before the call is counted
    // (Reset counts it in the period before it). The server sees a close a
    // moment after the client: the waits below give it up to timeoutMs to
    // reach the value and return whether it did.
    int OpenConnections();      // data connections open now
    int AcceptedConnections();  // data connections accepted since Reset
    bool WaitForOpenConnections(int expected, int timeoutMs = 5000);
    bool WaitForAcceptedConnections(int expected, int timeoutMs = 5000);

    // One canonical extended JSON document per request seen since Reset, in
    // arrival order, with "op" one of "query", "command", "getmore", "insert",
    // "update", "delete", "killcursors" and the fields of that operation, e.g.
    //   {"op": "query", "ns": "kelden.mailbox", "query": {...}, "fields": {...},
    //    "skip": 0, "limit": 0, "flags": 0}
    //   {"op": "command", "ns": "kelden.$cmd", "command": {"getLastError": 1}}
    //   {"op": "getmore", "ns": "kelden.mailbox", "limit": 0,
    //    "cursor": {"$numberLong": "..."}}
    //   {"op": "insert", "ns": "kelden.task", "documents": [...], "flags": 0}
    //   {"op": "update", "ns": "...", "selector": {...}, "update": {...}, "flags": 1}
    //   {"op": "delete", "ns": "...", "selector": {...}, "flags": 0}
    //   {"op": "killcursors", "cursors": [{"$numberLong": "..."}]}
    // Each also holds "connection": the number of the data connection it came
    // over (1, 2, ... in accepting order since the server started). "query" is
    // the filter as sent (with its "$query" wrapper, if any); "fields" is null
    // when the query sent no return-field selector.
    std::vector<std::string> Requests();

    // Closes the listening socket (a connect gets ECONNREFUSED; connections
    // already open keep working) / listens again.
    void StopListening();
    void StartListening();
    // Listens as a stuck server does, never accepting with its backlog full:
    // a connect is neither accepted nor refused and waits until the client
    // gives up. Connections already open keep working; StartListening,
    // StopListening and Reset end it.
    void StopAccepting();

    // Answers as a MongoDB server of version 6.0 or later does (until Reset):
    // every legacy query but the handshake ("hello", "isMaster") is refused
    // with code 352 and "Unsupported OP_QUERY command: <find or the command's
    // name>. The client driver may require an upgrade. For more details see
    // https://dochub.mongodb.org/core/legacy-opcode-removal", a legacy get-more
    // with code 352 too, and legacy inserts, updates and deletes are ignored.
    void RefuseLegacyOpcodes();

    // The next query or get-more on the collection ("" = any collection, a
    // command excepted; "$cmd" = the next command, e.g. getLastError) is
    // answered with {"$err": errorText, "code": code} and the QueryFailure flag.
    void FailNextQuery(const std::string& collection, const std::string& errorText, int code);
    // The same for the next get-more only: the query itself is answered.
    void FailNextGetMore(const std::string& collection, const std::string& errorText, int code);
    // The next command ("$cmd" of the database, e.g. "$cmd" or "admin.$cmd") is
    // answered with {"ok": 0.0, "errmsg": errorText, "code": code, "codeName"}
    // without the QueryFailure flag, as a command that fails.
    void FailNextCommand(const std::string& collection, const std::string& errorText, int code);
    // The next command (collection as for FailNextCommand) is answered with
    // this document (extended JSON) instead of its own result, e.g. a
    // getLastError answer that no server of the test's kind would give.
    void AnswerNextCommandWith(const std::string& collection, const std::string& extendedJson);
    // The next reply to a query, get-more or command (collection as for
    // FailNextQuery) holds no document at all.
    void AnswerNextWithoutDocuments(const std::string& collection);
    // The next get-more on the collection finds its cursor gone and is
    // answered with the CursorNotFound flag, as for a cursor that timed out on
    // the server.
    void LoseCursorBeforeNextGetMore(const std::string& collection);
    // The next reply to a query or get-more on the collection (collection as
    // for FailNextQuery) is cut short: only the first bytes of its header are
    // sent, then the connection is closed, so the driver raises an exception.
    void CloseConnectionMidReply(const std::string& collection);
    // The next reply (collection as for FailNextQuery) begins only after
    // `seconds` / is sent one byte every `seconds`. The server meanwhile
    // serves everything else; a client that closes the connection ends it.
    void DelayNextReply(const std::string& collection, double seconds);
    void TrickleNextReply(const std::string& collection, double seconds);
    // The next reply (collection as for FailNextQuery), once `pass` more
    // such replies went out as they are, is sent as a broken or foreign peer
    // would send it, as `how` says: "garbage" (a web server's answer),
    // "negative length" and "huge length" (its length field -1 / one byte
    // more than a message may have), "short" (a whole message of 20 bytes),
    // "op_msg" (an OP_MSG instead of an OP_REPLY), "stale" (first the same
    // reply answering the request before, as one left over on the connection,
    // then the reply itself).
    void MangleNextReply(const std::string& collection, const std::string& how, int pass = 0);
    // The cursor of the next query on the collection never ends: each
    // get-more answers with the documents after the last ones sent, the first
    // ones again after the end, and a live cursor id.
    void NeverEndCursor(const std::string& collection);

    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

private:
    TestServer();
    ~TestServer() = default;

    // Sends one control command (a JSON object on one line) and returns the
    // lines of the answer.
    std::vector<std::string> Call(const std::string& commandJson);
    std::string CallOne(const std::string& commandJson);
    bool ReadLine(std::string& line, int timeoutMs);

    std::mutex mutex_;
    int channel_ = -1;  // a socket: the server's stdin and stdout
    int pid_ = -1;
    std::string pending_;
};

}  // namespace TESTSUPPORT
