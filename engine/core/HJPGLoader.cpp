#include "HJPGLoader.h"
#include "HImage.h"
#include "HLog.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg's own error manager ends the program on a corrupt file; this one
// jumps back so the load can fail instead.
struct HJPGErrorManager {
    struct jpeg_error_mgr   pub;
    jmp_buf                 jump;
};

static void s_errorExit(j_common_ptr pInfo)
{
    HJPGErrorManager *pError = (HJPGErrorManager *)pInfo->err;
    char szMessage[JMSG_LENGTH_MAX];
    pInfo->err->format_message(pInfo, szMessage);
    errorPrintf("HJPGLoader::load - %s", szMessage);
    longjmp(pError->jump, 1);
}

// Messages go to the diagnostics, not to standard error.
static void s_outputMessage(j_common_ptr pInfo)
{
    char szMessage[JMSG_LENGTH_MAX];
    pInfo->err->format_message(pInfo, szMessage);
    errorPrintf("HJPGLoader::load - %s", szMessage);
}

// libjpeg only warns about damaged or missing data and goes on decoding
// grey: a truncated or corrupt file, whose rows libjpeg had to make up,
// fails the load instead. Other warnings (a few junk bytes before a marker,
// say) leave the image whole, and it loads.
static void s_emitMessage(j_common_ptr pInfo, int iLevel)
{
    if (iLevel >= 0) {
        return; // trace chatter
    }
    pInfo->err->num_warnings++;
    switch (pInfo->err->msg_code) {
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        s_errorExit(pInfo);
        break;
    default:
        s_outputMessage(pInfo);
        break;
    }
}

// Memory source over the whole file buffer. Running out supplies an
// end-of-image marker, so libjpeg never reads past the buffer; the warning
// it raises fails the load (see s_emitMessage).
static const JOCTET s_endOfImage[2] = { 0xFF, JPEG_EOI };

static void s_initSource(j_decompress_ptr)
{
}

static boolean s_fillInputBuffer(j_decompress_ptr pInfo)
{
    WARNMS(pInfo, JWRN_JPEG_EOF);
    pInfo->src->next_input_byte = s_endOfImage;
    pInfo->src->bytes_in_buffer = sizeof(s_endOfImage);
    return TRUE;
}

static void s_skipInputData(j_decompress_ptr pInfo, long lCount)
{
    if (lCount <= 0) {
        return;
    }
    struct jpeg_source_mgr *pSource = pInfo->src;
    if ((size_t)lCount > pSource->bytes_in_buffer) {
        lCount = (long)pSource->bytes_in_buffer;
    }
    pSource->next_input_byte += lCount;
    pSource->bytes_in_buffer -= (size_t)lCount;
}

static void s_termSource(j_decompress_ptr)
{
}

// Caps libjpeg's own working memory (progressive images keep every
// coefficient) so a lying header fails instead of exhausting memory.
static const long s_lMaxJpegMemory = 256L * 1024 * 1024;

bool HJPGLoader::decode(const unsigned char *pBuffer, int iSize, const char *szName)
{
    release();
    if (!pBuffer || iSize <= 0) {
        return false;
    }

    struct jpeg_decompress_struct info;
    HJPGErrorManager error;
    struct jpeg_source_mgr source;
    // Touched after setjmp and needed after a jump: keep them in memory.
    unsigned char *volatile pRow = nullptr;
    volatile bool bCreated = false;

    memset(&info, 0, sizeof(info));
    info.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = s_errorExit;
    error.pub.output_message = s_outputMessage;
    error.pub.emit_message = s_emitMessage;
    if (setjmp(error.jump)) {
        if (bCreated) {
            jpeg_destroy_decompress(&info);
        }
        free(pRow);
        release();
        return false;
    }

    jpeg_create_decompress(&info);
    bCreated = true;
    info.mem->max_memory_to_use = s_lMaxJpegMemory;

    source.next_input_byte = pBuffer;
    source.bytes_in_buffer = (size_t)iSize;
    source.init_source = s_initSource;
    source.fill_input_buffer = s_fillInputBuffer;
    source.skip_input_data = s_skipInputData;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = s_termSource;
    info.src = &source;

    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        errorPrintf("HJPGLoader::load - no image in '%s'", szName);
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Grey-scale is widened to RGB below; CMYK and the like are refused.
    if (info.num_components == 1) {
        info.out_color_space = JCS_GRAYSCALE;
    } else if (info.num_components == 3) {
        info.out_color_space = JCS_RGB;
    } else {
        errorPrintf("HJPGLoader::load - %d components in '%s'", info.num_components, szName);
        jpeg_destroy_decompress(&info);
        return false;
    }

    HImage *pImage = new HImage((int)info.image_width, (int)info.image_height,
                                IMAGE_FORMAT_32BIT);
    if (!pImage->getData()) {
        delete pImage;
        jpeg_destroy_decompress(&info);
        return false;
    }
    m_pImage = pImage;

    jpeg_start_decompress(&info);
    const int iComponents = info.output_components;
    if ((iComponents != 1 && iComponents != 3) || (int)info.output_width != pImage->getWidth() ||
        (int)info.output_height != pImage->getHeight()) {
        errorPrintf("HJPGLoader::load - unexpected output in '%s'", szName);
        jpeg_destroy_decompress(&info);
        release();
        return false;
    }

    const int iWidth = pImage->getWidth();
    pRow = (unsigned char *)malloc((size_t)iWidth * iComponents);
    if (!pRow) {
        jpeg_destroy_decompress(&info);
        release();
        return false;
    }
    while (info.output_scanline < info.output_height) {
        const int y = (int)info.output_scanline;
        JSAMPROW rows[1] = { pRow };
        if (jpeg_read_scanlines(&info, rows, 1) != 1) {
            // Cannot happen with a source that never suspends; never spin.
            errorPrintf("HJPGLoader::load - no scanline from '%s'", szName);
            jpeg_destroy_decompress(&info);
            free(pRow);
            release();
            return false;
        }
        unsigned char *pDest = pImage->getData() + (size_t)y * iWidth * 4;
        const unsigned char *pSource = pRow;
        for (int x = 0; x < iWidth; x++) {
            const unsigned char r = pSource[0];
            const unsigned char g = pSource[iComponents == 3 ? 1 : 0];
            const unsigned char b = pSource[iComponents == 3 ? 2 : 0];
            pDest[0] = b;
            pDest[1] = g;
            pDest[2] = r;
            pDest[3] = 255;
            pDest += 4;
            pSource += iComponents;
        }
    }

    jpeg_finish_decompress(&info);
    tracePrintf("...loaded '%s' %dx%dx%d\n", szName, iWidth, pImage->getHeight(), 32);
    jpeg_destroy_decompress(&info);
    free(pRow);
    return true;
}
