# The side panel (225 x 600) along the window's right edge. The window shows it from x = 595
# and ends at x = 800, so only its first 205 columns are seen; the last 20 repeat the edge.
# It reuses the outline, lacquer and rail of the background so the two meet seamlessly.

make_emblem() {
    # A magic circle with a glowing orb: the launcher's emblem above the start buttons.
    local cx=102 cy=220 dots
    dots=$(awk -v cx=$cx -v cy=$cy 'BEGIN { for (a = 0; a < 360; a += 45) { t = a * 3.14159265 / 180;
        x = cx + 84 * cos(t); y = cy + 84 * sin(t); printf "circle %d,%d %d,%d ", x, y, x + 4, y } }')
    convert -size 205x600 xc:black \
        -fill '#1f6fb0' -draw "circle $cx,$cy $cx,$((cy + 96))" -blur 0x28 emblem_glow.png
    convert -size 205x600 xc:black -fill none -stroke white \
        -strokewidth 3 -draw "circle $cx,$cy $cx,$((cy + 84))" \
        -strokewidth 1 -draw "circle $cx,$cy $cx,$((cy + 76))" \
        -draw "circle $cx,$cy $cx,$((cy + 52))" \
        -strokewidth 2 \
        -draw "polygon $cx,$((cy - 76)) $((cx + 66)),$((cy + 38)) $((cx - 66)),$((cy + 38))" \
        -draw "polygon $cx,$((cy + 76)) $((cx + 66)),$((cy - 38)) $((cx - 66)),$((cy - 38))" \
        -fill white -stroke none \
        -draw "$dots" emblem_lines.png
    gold 205 600 emblem_gold.png 50 6
    convert -size 205x600 xc:black -fill white -draw "circle $cx,$cy $cx,$((cy + 30))" \
        -blur 0x10 -fill white -draw "circle $cx,$cy $cx,$((cy + 12))" -blur 0x2 orb.png
    convert orb.png +level-colors black,'#d8f4ff' orb_color.png
}

make_side_panel() {
    make_emblem
    # The panel's own outline: the window's right part, its left edge framed as well.
    convert outline.png -crop 205x600+595+0 +repage sp_outline.png
    erode sp_outline.png 4 sp_inner4.png
    erode sp_outline.png 10 sp_inner10.png
    erode sp_outline.png 12 sp_inner12.png
    convert sp_outline.png sp_inner4.png -compose difference -composite sp_rim.png
    convert sp_inner4.png sp_inner10.png -compose difference -composite sp_band.png
    convert sp_inner10.png sp_inner12.png -compose difference -composite sp_line.png
    gold 205 600 sp_gold.png 60 12
    bevel sp_outline.png sp_bevel.png 2 35
    convert sp_gold.png sp_bevel.png -compose overlay -composite sp_lit.png

    # A slightly lighter lacquer than the background so the panel reads as its own piece.
    convert lacquer.png -crop 205x600+595+0 +repage -modulate 115,110 sp.png
    convert sp.png emblem_glow.png -compose screen -composite sp.png
    with_mask sp.png emblem_gold.png emblem_lines.png sp.png
    convert sp.png orb_color.png -compose screen -composite sp.png

    # The plate under the operator's label (21, 32, 168 x 32).
    convert sp.png -fill '#06081c' -stroke '#c89a40' -strokewidth 1 \
        -draw 'roundrectangle 14,24 189,71 6,6' -stroke '#5a4418' \
        -draw 'roundrectangle 17,27 186,68 4,4' sp.png

    # A motto under the emblem.
    text_mask 205 600 20 '踏上征程' motto_mask.png north 0 324
    convert -size 205x600 xc:'#fff3c8' -fill '#e0a848' -draw 'rectangle 0,336 205,360' \
        -blur 0x6 motto_gold.png
    fancy_text sp.png motto_mask.png motto_gold.png '#1a0c02' '#ff9a30' 4 sp.png

    # The niche the two start buttons stand in (384..521 on the panel).
    convert sp.png -fill '#05060f' -stroke '#7a5a20' -strokewidth 1 \
        -draw 'roundrectangle 8,378 196,526 10,10' sp.png
    convert -size 205x600 xc:black -fill white -draw 'roundrectangle 8,378 196,526 10,10' \
        -blur 0x6 -fill black -draw 'roundrectangle 16,386 188,518 8,8' -blur 0x4 \
        +level-colors black,'#3a2a60' niche_glow.png
    convert sp.png niche_glow.png -compose screen -composite sp.png

    # The frame, then the menu rail running on from the background to a cap at the edge.
    with_mask sp.png lacquer.png sp_band.png sp.png
    with_mask sp.png sp_lit.png sp_rim.png sp.png
    with_mask sp.png sp_gold.png sp_line.png sp.png
    convert rail.png -crop 170x"$((rail_bottom - rail_top))"+595+0 +repage sp_rail.png
    convert -size 40x40 xc:none -fill white -draw 'circle 19,19 19,1' cap_mask.png
    gold 40 40 cap_gold.png 45 2
    convert cap_gold.png cap_mask.png -compose copyopacity -composite \
        -fill '#1a0a30' -draw 'circle 19,19 19,9' -fill '#8a2ad0' -draw 'circle 19,19 19,11' \
        -fill '#e8c8ff' -draw 'circle 16,16 16,13' cap.png
    convert sp.png sp_rail.png -geometry "+0+$rail_top" -composite \
        cap.png -geometry "+148+$((rail_top + (rail_bottom - rail_top) / 2 - 20))" \
        -composite sp.png

    # The window never shows the last 20 columns; they stay plain lacquer.
    convert sp.png \( lacquer.png -crop 20x600+780+0 +repage \) +append side_panel.png
    save_bmp side_panel.png side_panel 225 600
}
