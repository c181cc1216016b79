#include "toolkit/JpegGlue.h"

#include "platform/base/CFile.h"

#include <jerror.h>

namespace {

constexpr size_t kBufferBytes = 4096;
constexpr size_t kFailed = static_cast<size_t>(-1);

JpegErrorManager* Errors(j_common_ptr cinfo) {
    return static_cast<JpegErrorManager*>(cinfo->client_data);
}

struct JpegSource {
    jpeg_source_mgr pub;
    CFile* file;
    JOCTET* buffer;
    boolean startOfFile;
};

struct JpegDestination {
    jpeg_destination_mgr pub;
    CFile* file;
    JOCTET* buffer;
};

// File access from the callbacks: an exception stops here and is kept for the caller. Answers kFailed then.
size_t ReadFile(j_common_ptr cinfo, CFile* file, JOCTET* buffer, size_t count) {
    try {
        return file->Read(buffer, static_cast<UINT>(count));
    } catch (...) {
        Errors(cinfo)->pending = std::current_exception();
        return kFailed;
    }
}

bool WriteFile(j_common_ptr cinfo, CFile* file, const JOCTET* buffer, size_t count, bool flush) {
    try {
        if (count > 0) {
            file->Write(buffer, static_cast<UINT>(count));
        }
        if (flush) {
            file->Flush();
        }
        return true;
    } catch (...) {
        Errors(cinfo)->pending = std::current_exception();
        return false;
    }
}

void JpegSourceInit(j_decompress_ptr cinfo) {
    reinterpret_cast<JpegSource*>(cinfo->src)->startOfFile = TRUE;
}

boolean JpegSourceFill(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<JpegSource*>(cinfo->src);
    size_t count = ReadFile(reinterpret_cast<j_common_ptr>(cinfo), src->file, src->buffer, kBufferBytes);
    if (count == kFailed) {
        ERREXIT(cinfo, JERR_FILE_READ);
    }
    if (count == 0) {
        if (src->startOfFile) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        // A cut-off file: the library finishes the picture from what it has.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        count = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = count;
    src->startOfFile = FALSE;
    return TRUE;
}

void JpegSourceSkip(j_decompress_ptr cinfo, long count) {
    if (count <= 0) {
        return;
    }
    auto* src = reinterpret_cast<JpegSource*>(cinfo->src);
    while (static_cast<size_t>(count) > src->pub.bytes_in_buffer) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        JpegSourceFill(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

void JpegSourceTerm(j_decompress_ptr) {}

void JpegDestInit(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    dest->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kBufferBytes));
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferBytes;
}

boolean JpegDestEmpty(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    if (!WriteFile(reinterpret_cast<j_common_ptr>(cinfo), dest->file, dest->buffer, kBufferBytes, false)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferBytes;
    return TRUE;
}

void JpegDestTerm(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    const size_t used = kBufferBytes - dest->pub.free_in_buffer;
    if (!WriteFile(reinterpret_cast<j_common_ptr>(cinfo), dest->file, dest->buffer, used, true)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
}

} // namespace

void JpegInstallErrorManager(j_common_ptr cinfo, JpegErrorManager* errors) {
    cinfo->err = jpeg_std_error(&errors->pub);
    errors->pub.error_exit = JpegErrorExit;
    errors->pub.output_message = JpegOutputMessage;
    errors->lastMessage[0] = '\0';
    cinfo->client_data = errors;
}

void JpegErrorExit(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    jpeg_destroy(cinfo);
    std::longjmp(Errors(cinfo)->jump, 1);
}

void JpegOutputMessage(j_common_ptr cinfo) {
    (*cinfo->err->format_message)(cinfo, Errors(cinfo)->lastMessage);
}

void AttachSource(j_decompress_ptr cinfo, CFile* file) {
    if (!cinfo->src) {
        auto* src = static_cast<JpegSource*>((*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo),
                                                                        JPOOL_PERMANENT, sizeof(JpegSource)));
        src->buffer = static_cast<JOCTET*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kBufferBytes));
        cinfo->src = &src->pub;
    }
    auto* src = reinterpret_cast<JpegSource*>(cinfo->src);
    src->pub.init_source = JpegSourceInit;
    src->pub.fill_input_buffer = JpegSourceFill;
    src->pub.skip_input_data = JpegSourceSkip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = JpegSourceTerm;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    src->file = file;
}

void AttachDestination(j_compress_ptr cinfo, CFile* file) {
    if (!cinfo->dest) {
        cinfo->dest = static_cast<jpeg_destination_mgr*>((*cinfo->mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(JpegDestination)));
    }
    auto* dest = reinterpret_cast<JpegDestination*>(cinfo->dest);
    dest->pub.init_destination = JpegDestInit;
    dest->pub.empty_output_buffer = JpegDestEmpty;
    dest->pub.term_destination = JpegDestTerm;
    dest->file = file;
}
