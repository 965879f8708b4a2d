/* A stand-in for the Access worker that misbehaves on purpose, the way the "database path" it is
 * asked to open names: it crashes, hangs, takes memory without end, answers garbage or a lie, or
 * lists the files it has open. A path "reply:N:HEX" makes it answer every request of operation N
 * with the bytes HEX spells. Messages are a 32-bit little-endian length and the bytes, on file
 * descriptor 3, as the real worker has them. */
#include <dirent.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kChannel = 3 };

static int Transfer(int out, void* data, size_t count) {
    char* p = data;
    while (count > 0) {
        ssize_t n = out ? write(kChannel, p, count) : read(kChannel, p, count);
        if (n <= 0) return 0;
        p += n;
        count -= (size_t)n;
    }
    return 1;
}

static void PutU32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = (unsigned char)(v >> (8 * i));
}

static void Send(const void* data, uint32_t length) {
    unsigned char head[4];
    PutU32(head, length);
    Transfer(1, head, 4);
    Transfer(1, (void*)data, length);
}

/* The answer to a table listing: every open file descriptor's number as a table name. */
static void SendOpenFiles(void) {
    unsigned char reply[4096];
    uint32_t used = 5, count = 0;
    reply[0] = 0;
    DIR* dir = opendir("/proc/self/fd");
    struct dirent* e;
    while (dir != NULL && (e = readdir(dir)) != NULL) {
        if (e->d_name[0] == '.' || atoi(e->d_name) == dirfd(dir)) continue;
        uint32_t n = (uint32_t)strlen(e->d_name);
        if (used + 4 + n > sizeof reply) break;
        PutU32(reply + used, n);
        memcpy(reply + used + 4, e->d_name, n);
        used += 4 + n;
        ++count;
    }
    if (dir != NULL) closedir(dir);
    PutU32(reply + 1, count);
    Send(reply, used);
}

/* The reply a "reply:N:HEX" mode sets for operation N. "reply:N:HEX/COUNT/ITEM" spells a reply
 * too long for a path: the bytes HEX, then the bytes ITEM COUNT times. */
static unsigned char* custom;
static uint32_t customLength;
static int customOperation = -1;

static void AppendHex(const char* hex, size_t digits) {
    for (size_t i = 0; i + 1 < digits; i += 2) {
        char byte[3] = {hex[i], hex[i + 1], '\0'};
        custom[customLength++] = (unsigned char)strtoul(byte, NULL, 16);
    }
}

static void SetCustomReply(const char* mode) {
    customOperation = mode[6] - '0';
    const char* head = mode + 8;
    const char* slash = strchr(head, '/');
    size_t headDigits = slash != NULL ? (size_t)(slash - head) : strlen(head);
    unsigned long count = 0;
    const char* item = "";
    if (slash != NULL) {
        char* rest;
        count = strtoul(slash + 1, &rest, 10);
        if (*rest == '/') item = rest + 1;
    }
    const size_t itemDigits = strlen(item);
    free(custom);
    custom = malloc(headDigits / 2 + count * (itemDigits / 2) + 1);
    if (custom == NULL) _exit(1);
    customLength = 0;
    AppendHex(head, headDigits);
    for (unsigned long i = 0; i < count; ++i) AppendHex(item, itemDigits);
}

/* Takes memory until there is none. Every page is written through a volatile pointer and every
 * block stays reachable from the last, so no compiler can leave the memory untouched or drop the
 * loop as one without effect. */
static void TakeMemoryWithoutEnd(void) {
    enum { kBlock = 1 << 20, kPage = 4096 };
    void* volatile last = NULL;
    for (;;) {
        char* block = malloc(kBlock);
        if (block == NULL) abort();
        volatile char* bytes = block;
        for (size_t i = 0; i < kBlock; i += kPage) bytes[i] = 1;
        void* previous = last;
        memcpy(block, &previous, sizeof previous);
        last = block;
    }
}

int main(void) {
    char mode[512] = "";
    for (;;) {
        unsigned char head[4];
        if (!Transfer(0, head, 4)) _exit(0);
        uint32_t length = head[0] | head[1] << 8 | head[2] << 16 | (uint32_t)head[3] << 24;
        unsigned char* request = malloc(length + 1);
        if (request == NULL || length == 0 || !Transfer(0, request, length)) _exit(1);
        const unsigned char ok[] = {0};
        if (request[0] == 1 && length >= 5) { /* open: the path is the mode */
            uint32_t n =
                request[1] | request[2] << 8 | request[3] << 16 | (uint32_t)request[4] << 24;
            if (n > length - 5) n = length - 5;
            if (n >= sizeof mode) n = sizeof mode - 1;
            memcpy(mode, request + 5, n);
            mode[n] = '\0';
            if (strncmp(mode, "reply:", 6) == 0 && n >= 8) SetCustomReply(mode);
            if (strcmp(mode, "crash") == 0) abort();
            if (strcmp(mode, "hang") == 0) {
                for (;;) pause();
            }
            if (strcmp(mode, "allocate") == 0) TakeMemoryWithoutEnd();
            if (customOperation == 1) {
                Send(custom, customLength);
            } else if (strcmp(mode, "garbage") == 0) {
                Send("xyzzy", 5);
            } else if (strcmp(mode, "short") == 0) {
                unsigned char cut[4 + 3];
                PutU32(cut, 100);
                Transfer(1, cut, sizeof cut);
                _exit(0);
            } else if (strcmp(mode, "huge") == 0) {
                unsigned char announce[4];
                PutU32(announce, 0xFFFFFFF0u);
                Transfer(1, announce, 4);
            } else {
                Send(ok, 1);
            }
        } else if (request[0] == customOperation) {
            Send(custom, customLength);
        } else if (request[0] == 2 && strcmp(mode, "fds") == 0) {
            SendOpenFiles();
        } else if (request[0] == 3) { /* columns: one text column "A" */
            const unsigned char columns[] = {0, 1, 0, 0, 0, 1, 0, 0, 0, 'A', 0};
            Send(columns, sizeof columns);
        } else if (request[0] == 4) { /* rows: none */
            const unsigned char rows[] = {0, 1, 0, 0, 0, 0, 0, 0, 0};
            Send(rows, sizeof rows);
        } else {
            const unsigned char none[] = {0, 0, 0, 0, 0};
            Send(none, sizeof none);
        }
        free(request);
    }
}
