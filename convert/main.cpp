// ruruzir-convert: moisture unit conversion from the command line.
#include <cstdio>

#include "convert/converter.h"

int main(int argc, char** argv) {
  ConverterRequest request = DefaultConverterRequest();
  char message[200];
  const int status = ParseConverterArguments(argc, argv, &request, message, sizeof message);
  if (status != kConvertOk) {
    std::fputs("ruruzir-convert: ", stderr);
    WriteLatin1AsUtf8(message, stderr);
    std::fputc('\n', stderr);
    return status;
  }
  if (request.help) {
    PrintConverterHelp(stdout);
    return kConvertOk;
  }
  if (request.batch) {
    FILE* in = request.batchFile ? std::fopen(request.batchFile, "r") : stdin;
    if (!in) {
      std::fprintf(stderr, "ruruzir-convert: cannot read '%s'\n", request.batchFile);
      return kConvertUsageError;
    }
    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    const int batchStatus = ConvertBatch(request, in, stdout);
    if (in != stdin) std::fclose(in);
    return batchStatus;
  }
  char text[100];
  const int readingStatus = ConvertReading(request, request.value, request.sourcePressure,
                                           request.targetPressure, text, sizeof text);
  FILE* out = readingStatus == kConvertOk ? stdout : stderr;
  if (readingStatus != kConvertOk) std::fputs("ruruzir-convert: ", out);
  WriteLatin1AsUtf8(text, out);
  std::fputc('\n', out);
  return readingStatus;
}
