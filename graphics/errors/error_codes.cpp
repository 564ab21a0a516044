#include "graphics/errors/error_codes.h"

namespace klv {

const char* error_sentence(int code) {
    switch (code) {
    case KLV_OK: return "No error.";
    case KLV_ERROR_BAD_ARGUMENT: return "An argument was outside the values the function accepts.";
    case KLV_ERROR_BAD_IMAGE: return "The image buffer's width and height do not describe a valid image.";
    case KLV_ERROR_OUT_OF_MEMORY: return "There was not enough memory.";
    case KLV_ERROR_FILE_NOT_FOUND: return "The file could not be opened.";
    case KLV_ERROR_NOT_A_PICTURE: return "The file is not a BMP, PNG or JPEG picture.";
    case KLV_ERROR_UNSUPPORTED_PICTURE: return "The picture is of a kind that cannot be read.";
    case KLV_ERROR_DAMAGED_PICTURE: return "The picture is damaged or cut short.";
    case KLV_ERROR_PICTURE_TOO_LARGE:
        return "The picture is larger than 32767 pixels on a side or 134217728 pixels in all.";
    case KLV_ERROR_CANNOT_WRITE_FILE: return "The file could not be written.";
    case KLV_ERROR_ALREADY_RECORDING: return "The window is being recorded already.";
    default: return "Unknown error code.";
    }
}

}  // namespace klv

extern "C" const char* error_text(int code) { return klv::error_sentence(code); }
