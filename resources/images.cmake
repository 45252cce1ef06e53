# The PNG images stored in the library, as pairs of resource id and file name
# (relative to this folder). The Linux build embeds them through
# embed_pngs.cmake; the Windows resource script lists the same ids with the
# resource type "PNG".
#
# 100-110: the editor's artwork, drawn by tools/artwork (scripts/make-artwork.sh
#          redraws them; the build only embeds them).
# 900: a 4 x 3 test pattern (each pixel differs in every channel, alpha from 0
#      to 255) that proves the embedding; the tests know its pixels.
set(TESSAPHON_PNG_RESOURCES
  100 panel_background.png
  101 knob_large.png
  102 knob_small.png
  103 wave_selector.png
  104 lfo_wave_selector.png
  105 play_lit.png
  106 switch.png
  107 lfo_target_faces.png
  108 lfo_target_list.png
  109 sync_lit.png
  110 restart_lit.png
  900 test_pattern.png
)
