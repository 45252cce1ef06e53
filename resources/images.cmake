# The PNG images stored in the library, as pairs of resource id and file name
# (relative to this folder). The Linux build embeds them through
# embed_pngs.cmake; the Windows resource script lists the same ids with the
# resource type "PNG".
#
# 100-110: the editor's artwork (not drawn yet).
# 900: a 4 x 3 test pattern (each pixel differs in every channel, alpha from 0
#      to 255) that proves the embedding; the tests know its pixels.
set(TESSAPHON_PNG_RESOURCES
  900 test_pattern.png
)
