// What connects the JPEG library to the toolkit's images: a data source and a data destination on a file
// object through 4096-byte buffers, and an error manager that shows nothing.
//
// The library expects its error exit never to return. Ours formats the message (kept, never shown),
// destroys the codec object and jumps back to the point the caller set with setjmp on `jump`: the frames in
// between (the library's and the callbacks below) hold nothing that needs destroying. An exception a file
// object raises in a callback is caught there, turned into the library's read or write error, and kept in
// `pending` for the caller to raise again once the codec is gone.
#pragma once

// jpeglib.h needs FILE and size_t declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <exception>

#include <jpeglib.h>

class CFile;

struct JpegErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    std::exception_ptr pending;
    char lastMessage[JMSG_LENGTH_MAX]{};
};

// The standard error manager with JpegErrorExit and JpegOutputMessage; the codec object finds it through
// its client data, so call this before creating the codec object on `cinfo`.
void JpegInstallErrorManager(j_common_ptr cinfo, JpegErrorManager* errors);
void JpegErrorExit(j_common_ptr cinfo);
void JpegOutputMessage(j_common_ptr cinfo);

// Installs the source (decompress) or destination (compress) on the file object, which stays the caller's.
void AttachSource(j_decompress_ptr cinfo, CFile* file);
void AttachDestination(j_compress_ptr cinfo, CFile* file);
