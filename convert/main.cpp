// ruruzir-convert: moisture unit conversion from the command line.
//
// Output is UTF-8 without a byte-order mark. In a Windows console, whose code page is seldom
// UTF-8, texts are written as UTF-16 instead, so that degree signs show as such.
#include <cstdio>
#include <cstring>

#include "convert/converter.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

using namespace ruruzir;

namespace {

#ifdef _WIN32
HANDLE ConsoleOf(FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}
#endif

// Writes UTF-8 text to a stream (a whole number of characters).
void WriteUtf8(FILE* stream, const char* text, size_t length) {
#ifdef _WIN32
  if (const HANDLE console = ConsoleOf(stream)) {
    std::fflush(stream);
    wchar_t wide[4096];
    while (length > 0) {
      // Pieces that end at a whole character.
      size_t take = length < 2048 ? length : 2048;
      while (take < length && (static_cast<unsigned char>(text[take]) & 0xC0) == 0x80) --take;
      const int count = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(take), wide, 4096);
      DWORD written;
      WriteConsoleW(console, wide, static_cast<DWORD>(count), &written, nullptr);
      text += take;
      length -= take;
    }
    return;
  }
#endif
  std::fwrite(text, 1, length, stream);
}

// Writes a Windows-1252 message line.
void WriteMessage(FILE* stream, const char* prefix, const char* text) {
  char utf8[600];
  size_t length = Latin1ToUtf8(prefix, utf8, sizeof utf8);
  length += Latin1ToUtf8(text, utf8 + length, sizeof utf8 - length - 1);
  utf8[length++] = '\n';
  WriteUtf8(stream, utf8, length);
}

size_t ReadStream(void* context, char* data, size_t size) {
  return std::fread(data, 1, size, static_cast<FILE*>(context));
}

void WriteStream(void* context, const char* data, size_t size) {
  WriteUtf8(static_cast<FILE*>(context), data, size);
}

int RunBatch(const ConverterRequest& request) {
  const bool standardInput = !request.batchFile || std::strcmp(request.batchFile, "-") == 0;
  FILE* in = standardInput ? stdin : std::fopen(request.batchFile, "rb");
  if (!in) {
    char message[300];
    std::snprintf(message, sizeof message, "cannot read '%s'", request.batchFile);
    WriteMessage(stderr, "ruruzir-convert: ", message);
    return kConvertUsageError;
  }
#ifdef _WIN32
  // Rows keep their own line ends: no text-mode translation either way.
  if (standardInput) _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const BatchStreams streams{ReadStream, WriteStream, in, stdout};
  BatchSummary summary;
  const int status = ConvertBatch(request, streams, &summary);
  std::fflush(stdout);
  if (in != stdin) std::fclose(in);
  char line[200];
  int length = std::snprintf(line, sizeof line, "rows converted: %lld, failed: %lld",
                             summary.converted, summary.failed);
  if (summary.failed > 0) {
    std::snprintf(line + length, sizeof line - length, ", the first at line %lld",
                  summary.firstFailedLine);
  }
  WriteMessage(stderr, "ruruzir-convert: ", line);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  ConverterRequest request = DefaultConverterRequest();
  char message[300];
  const int status = ParseConverterArguments(argc, argv, &request, message, sizeof message);
  if (status != kConvertOk) {
    WriteMessage(stderr, "ruruzir-convert: ", message);
    return status;
  }
  if (request.help) {
    PrintConverterHelp(stdout);
    return kConvertOk;
  }
  if (request.version) {
    WriteMessage(stdout, "ruruzir-convert ", kConverterVersion);
    return kConvertOk;
  }
  if (request.batch) return RunBatch(request);
  char text[100];
  const int readingStatus = ConvertReading(request, request.value, request.sourcePressure,
                                           request.targetPressure, text, sizeof text);
  if (readingStatus != kConvertOk) {
    WriteMessage(stderr, "ruruzir-convert: ", text);
  } else {
    WriteMessage(stdout, "", text);
  }
  return readingStatus;
}
