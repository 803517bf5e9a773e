# stb_image from Debian's libstb-dev (2.27), with the checks that later stb releases added to its
# JPEG block decoders: a DC prediction that leaves the range of an int, or a DC coefficient that
# does not fit the 16 bits it is stored in, makes the picture corrupt instead of overflowing; bits
# taken past a marker that ended the data read as zeros instead of driving the bit count below
# zero (both undefined behaviour, found by the picture fuzzer). Written into OUT_DIR as
# stb_image_guarded.h; a release that has the checks already is taken as it is. Configuring
# fails when the header has neither the checks nor the lines they go into.
function(nerith_guarded_stb_image STB_DIR OUT_DIR)
  set(header ${STB_DIR}/stb_image.h)
  if(NOT EXISTS ${header})
    message(FATAL_ERROR "${header} is missing (Debian package libstb-dev)")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header} ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
  file(READ ${header} text)

  if(NOT text MATCHES "stbi__mul2shorts_valid")
    # Each pair: the lines of 2.27, and what they become.
    set(anchor_1 [=[
// decode one 64-entry block--
]=])
    set(guarded_1 [=[
// Checks added for hostile files: whether a + b fits an int, and whether a * b fits a short.
static int stbi__addints_valid(int a, int b)
{
   if ((a >= 0) != (b >= 0)) return 1;
   if (a < 0) return a >= INT_MIN - b;
   return a <= INT_MAX - b;
}

static int stbi__mul2shorts_valid(int a, int b)
{
   if (b == 0 || b == -1) return 1;
   if ((a >= 0) == (b >= 0)) return a <= SHRT_MAX / b;
   if (b < 0) return a <= SHRT_MIN / b;
   return a >= SHRT_MIN / b;
}

// decode one 64-entry block--
]=])
    set(anchor_2 [=[
   dc = j->img_comp[b].dc_pred + diff;
   j->img_comp[b].dc_pred = dc;
   data[0] = (short) (dc * dequant[0]);
]=])
    set(guarded_2 [=[
   if (!stbi__addints_valid(j->img_comp[b].dc_pred, diff)) return stbi__err("bad delta","Corrupt JPEG");
   dc = j->img_comp[b].dc_pred + diff;
   j->img_comp[b].dc_pred = dc;
   if (!stbi__mul2shorts_valid(dc, dequant[0])) return stbi__err("can't merge dc and ac","Corrupt JPEG");
   data[0] = (short) (dc * dequant[0]);
]=])
    set(anchor_3 [=[
      dc = j->img_comp[b].dc_pred + diff;
      j->img_comp[b].dc_pred = dc;
      data[0] = (short) (dc * (1 << j->succ_low));
]=])
    set(guarded_3 [=[
      if (!stbi__addints_valid(j->img_comp[b].dc_pred, diff)) return stbi__err("bad delta","Corrupt JPEG");
      dc = j->img_comp[b].dc_pred + diff;
      j->img_comp[b].dc_pred = dc;
      if (!stbi__mul2shorts_valid(dc, 1 << j->succ_low)) return stbi__err("can't merge dc and ac","Corrupt JPEG");
      data[0] = (short) (dc * (1 << j->succ_low));
]=])
    # Bits the decoder takes after the entropy-coded data ended at a marker: it counted them
    # below zero, and shifted by 32 and more when it next filled its buffer. Zeros instead.
    set(anchor_4 [=[
   int sgn;
   if (j->code_bits < n) stbi__grow_buffer_unsafe(j);
]=])
    set(guarded_4 [=[
   int sgn;
   if (j->code_bits < n) stbi__grow_buffer_unsafe(j);
   if (j->code_bits < n) return 0;
]=])
    set(anchor_5 [=[
   unsigned int k;
   if (j->code_bits < n) stbi__grow_buffer_unsafe(j);
   k = stbi_lrot(j->code_buffer, n);
]=])
    set(guarded_5 [=[
   unsigned int k;
   if (j->code_bits < n) stbi__grow_buffer_unsafe(j);
   if (j->code_bits < n) return 0;
   k = stbi_lrot(j->code_buffer, n);
]=])
    set(anchor_6 [=[
   if (j->code_bits < 1) stbi__grow_buffer_unsafe(j);
   k = j->code_buffer;
]=])
    set(guarded_6 [=[
   if (j->code_bits < 1) stbi__grow_buffer_unsafe(j);
   if (j->code_bits < 1) return 0;
   k = j->code_buffer;
]=])
    set(anchor_7 [=[
         s = r & 15; // combined length
         j->code_buffer <<= s;
]=])
    set(guarded_7 [=[
         s = r & 15; // combined length
         if (s > j->code_bits) return stbi__err("bad huffman code","Corrupt JPEG");
         j->code_buffer <<= s;
]=])
    set(anchor_8 [=[
            s = r & 15; // combined length
            j->code_buffer <<= s;
]=])
    set(guarded_8 [=[
            s = r & 15; // combined length
            if (s > j->code_bits) return stbi__err("bad huffman code","Corrupt JPEG");
            j->code_buffer <<= s;
]=])
    foreach(i 1 2 3 4 5 6 7 8)
      string(FIND "${text}" "${anchor_${i}}" first)
      string(FIND "${text}" "${anchor_${i}}" last REVERSE)
      if(first EQUAL -1 OR NOT first EQUAL last)
        message(FATAL_ERROR "${header}: not the stb_image the JPEG checks are written for (place ${i})")
      endif()
      string(REPLACE "${anchor_${i}}" "${guarded_${i}}" text "${text}")
    endforeach()
    string(PREPEND text "#include <limits.h>\n")
  endif()

  # Rewritten only when it changes, so that configuring again rebuilds nothing.
  file(WRITE ${OUT_DIR}/stb_image_guarded.h.new "${text}")
  configure_file(${OUT_DIR}/stb_image_guarded.h.new ${OUT_DIR}/stb_image_guarded.h COPYONLY)
endfunction()
