/* The interface between the editor and a text converter module: a shared library that
 * translates between a foreign document file and RTF through four entry points with C
 * linkage, InitConverter32, IsFormatCorrect32, ForeignToRtf32 and RtfToForeign32.
 *
 * Rules for modules:
 * - The conversion entry points run on a worker thread of the host. A module touches no
 *   user interface, never calls exit, and lets no C++ exception leave an entry point.
 * - RTF passes through one transfer block owned by the host. On import the module writes
 *   up to the block's size into it and calls the output callback with the byte count; on
 *   export the input callback fills the block and returns how many bytes it holds, 0 at the
 *   end of the data. A module may grow the block (TcBlockReAlloc); the host reads the block's
 *   size on every callback and refuses a count larger than it.
 * - A callback that returns a negative value asks the module to stop: it returns at once,
 *   with a negative result of its own.
 * - Texts (file name, class, subset) are zero-terminated UTF-8 in blocks.
 *
 * The blocks stand in for movable global memory: allocated zero-filled, locked to reach their
 * bytes, resizable, and freed by whoever allocated them. Host and modules share one C library,
 * so either side may use the helpers below on a block the other made. */
#ifndef TEXTCONV_H
#define TEXTCONV_H

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Results of the entry points: 0 success, negative failure. */
typedef int32_t TcResult;
enum {
  TcNoErr = 0,
  TcOpenInFileErr = -1,
  TcReadErr = -2,
  TcOpenConvErr = -3,
  TcWriteErr = -4,
  TcInvalidFile = -5,
  TcOpenExceptErr = -6,
  TcWriteExceptErr = -7,
  TcNoMemory = -8,
  TcInvalidDoc = -9,
  TcDiskFull = -10,
  TcDocTooLarge = -11,
  TcOpenOutFileErr = -12,
  TcUserCancel = -13,
  TcWrongFileType = -14,
  /* What the host's callbacks return to stop a conversion. */
  TcCallbackStop = -15
};

/* IsFormatCorrect32's answer for "this file is in my format"; anything else is "no". */
enum { TcFormatMine = 1 };

typedef struct TcBlock {
  size_t size;
  int locks;
  unsigned char* bytes;
} TcBlock;
typedef TcBlock* TcHandle;

/* A zero-filled block of size bytes; null when memory is short. */
static inline TcHandle TcBlockAlloc(size_t size) {
  TcHandle block = (TcHandle)calloc(1, sizeof(TcBlock));
  if (!block) return NULL;
  block->bytes = (unsigned char*)calloc(size ? size : 1, 1);
  if (!block->bytes) {
    free(block);
    return NULL;
  }
  block->size = size;
  return block;
}

static inline void* TcBlockLock(TcHandle block) {
  if (!block) return NULL;
  ++block->locks;
  return block->bytes;
}

static inline int TcBlockUnlock(TcHandle block) {
  if (!block || block->locks == 0) return 0;
  return --block->locks;
}

static inline size_t TcBlockSize(TcHandle block) { return block ? block->size : 0; }

/* Grows or shrinks an unlocked block, new bytes zero-filled; 0 when refused. */
static inline int TcBlockReAlloc(TcHandle block, size_t size) {
  unsigned char* bytes;
  if (!block || block->locks != 0) return 0;
  bytes = (unsigned char*)realloc(block->bytes, size ? size : 1);
  if (!bytes) return 0;
  if (size > block->size) memset(bytes + block->size, 0, size - block->size);
  block->bytes = bytes;
  block->size = size;
  return 1;
}

static inline void TcBlockFree(TcHandle block) {
  if (!block) return;
  free(block->bytes);
  free(block);
}

/* The callback handed to the conversion entry points: a byte count and a percentage in,
 * a count (input) or 0 (output) out, negative to stop. */
typedef int32_t (*TcCallback)(int32_t bytes, int32_t percent);

/* window is always null here; module is the host program's path. */
typedef int32_t (*TcInitConverter)(void* window, const char* module);
typedef TcResult (*TcIsFormatCorrect)(TcHandle file, TcHandle className);
typedef TcResult (*TcForeignToRtf)(TcHandle file, void* storage, TcHandle buffer, TcHandle className,
                                   TcHandle subset, TcCallback output);
typedef TcResult (*TcRtfToForeign)(TcHandle file, void* storage, TcHandle buffer, TcHandle className,
                                   TcCallback input);

#ifdef __cplusplus
}
#endif

#endif
