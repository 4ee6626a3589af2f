# The main window's background (800 x 600) and its shape picture: a night sky over the
# mountains above a parchment scroll for the announcements, a lacquered frame with gold
# rims, and the rail the six menu buttons sit in at y = 536.

# Where the other pictures and labels land on the background; the art is built around them.
scroll_left=40 scroll_right=584 scroll_top=104 scroll_bottom=512 # the panels cover this
rail_top=530 rail_bottom=572                                      # menu buttons: 536..566

make_outline() {
    awk -v outside="$outside" -f "$here/outline.awk" >outline.pgm
    convert outline.pgm -colorspace gray outline.png
    erode outline.png 4 inner4.png
    erode outline.png 10 inner10.png
    erode outline.png 12 inner12.png
}

make_sky() {
    convert -size 800x140 gradient:'#03061a'-'#3a1d4e' \
        -size 800x460 gradient:'#3a1d4e'-'#12091e' -append sky.png
    # A warm band low on the horizon behind the mountains.
    convert -size 800x600 xc:black -fill '#8a3a30' -draw 'ellipse 300,112 420,36 0,360' \
        -blur 0x24 horizon.png
    convert sky.png horizon.png -compose screen -composite sky.png
    # Stars: sparse seeded noise, a few of them brighter with a halo.
    convert -size 800x600 xc: -seed 11 +noise Random -channel G -separate +channel \
        -threshold 99.7% stars.png
    convert stars.png -blur 0x1.2 -level 0,40% stars_glow.png
    convert sky.png stars_glow.png -compose screen -composite stars.png -compose screen \
        -composite sky.png
    # The moon and its halo.
    convert -size 800x600 xc:black -fill '#6a7ab8' -draw 'circle 300,50 300,110' -blur 0x30 \
        -fill '#fff8e0' -draw 'circle 300,50 300,68' \
        -fill '#e6dcc0' -draw 'circle 294,46 294,50' -draw 'circle 307,57 307,59' \
        moon.png
    convert sky.png moon.png -compose screen -composite sky.png
    # Two mountain ranges with mist between them.
    local far near
    far=$(awk 'BEGIN { srand(5); printf "polygon 0,140 0,96"; for (x = 0; x <= 800; x += 25) \
        printf " %d,%d", x, 70 + int(rand() * 28) + (x % 100 == 50 ? -14 : 0); print " 800,140" }')
    near=$(awk 'BEGIN { srand(9); printf "polygon 0,140 0,104"; for (x = 0; x <= 800; x += 18) \
        printf " %d,%d", x, 88 + int(rand() * 20); print " 800,140" }')
    convert sky.png -fill '#281c48' -draw "$far" \
        \( -size 800x600 xc:black -fill '#7a6aa0' -draw 'rectangle 0,88 800,110' -blur 0x8 \) \
        -compose screen -composite -fill '#120c26' -draw "$near" sky.png
}

make_lacquer() {
    # Deep blue-violet lacquer with a faint cloud pattern.
    convert -size 800x600 -seed 3 plasma:fractal -colorspace gray -blur 0x4 -auto-level \
        +level-colors '#0a0920','#262058' lacquer.png
}

make_scroll() {
    local w=$((scroll_right - scroll_left)) h=$((scroll_bottom - scroll_top))
    # Parchment, darker towards its edges, with a faint grain.
    convert -size "${w}x${h}" -seed 21 plasma:fractal -colorspace gray -blur 0x2 -auto-level \
        +level-colors '#dcc18a','#f7e9c4' parchment.png
    convert -size "${w}x${h}" xc:black -fill white -draw "rectangle 8,12 $((w - 9)),$((h - 13))" \
        -blur 0x7 +level-colors '#9c6a34',white edge.png
    convert parchment.png edge.png -compose multiply -composite parchment.png
    # A faint compass rose watermark in the middle.
    convert parchment.png -fill none -stroke '#d9c089' -strokewidth 2 \
        -draw "circle $((w / 2)),$((h / 2 + 20)) $((w / 2)),$((h / 2 + 150))" \
        -draw "circle $((w / 2)),$((h / 2 + 20)) $((w / 2)),$((h / 2 + 138))" \
        -strokewidth 1 \
        -draw "polygon $((w / 2)),$((h / 2 - 120)) $((w / 2 + 18)),$((h / 2 + 2)) $((w / 2 + 140)),$((h / 2 + 20)) $((w / 2 + 18)),$((h / 2 + 38)) $((w / 2)),$((h / 2 + 160)) $((w / 2 - 18)),$((h / 2 + 38)) $((w / 2 - 140)),$((h / 2 + 20)) $((w / 2 - 18)),$((h / 2 + 2))" \
        parchment.png
    # Two rollers of dark wood with gold knobs, top and bottom.
    convert -size "${w}x6" gradient:'#3a1c08'-'#e0a45c' -size "${w}x10" \
        gradient:'#e0a45c'-'#241004' -append roller.png
    gold 12 16 knob.png 90 1
    convert roller.png \( knob.png \) -geometry +0+0 -composite \
        \( knob.png \) -geometry "+$((w - 12))+0" -composite roller.png
    convert -size "${w}x${h}" xc:none \
        parchment.png -geometry "$((w - 20))x$((h - 20))!+10+10" -composite \
        roller.png -geometry +0+0 -composite \
        roller.png -geometry "+0+$((h - 16))" -composite scroll.png
    # The cartouche that carries the game's name, hanging from the top roller.
    convert -size 200x54 xc:none -fill white -draw 'roundrectangle 2,0 197,51 10,10' \
        cartouche_mask.png
    convert -size 200x54 gradient:'#22306a'-'#0a1030' cartouche.png
    alpha_mask cartouche_mask.png cartouche_alpha.png
    ring cartouche_alpha.png 3 cartouche_rim.png
    gold 200 54 cartouche_gold.png 60 2
    bevel cartouche_rim.png cartouche_bevel.png 1 40
    convert cartouche_gold.png cartouche_bevel.png -compose overlay -composite \
        cartouche_gold.png
    with_mask cartouche.png cartouche_gold.png cartouche_rim.png cartouche.png
    convert cartouche.png cartouche_mask.png -compose copyopacity -composite cartouche.png
    local cx=$((312 - scroll_left))
    convert scroll.png cartouche.png -geometry "+$((cx - 100))+4" -compose over -composite \
        -fill '#f0c860' -stroke '#6a4410' -strokewidth 1 \
        -draw "polygon $((cx - 112)),30 $((cx - 104)),24 $((cx - 96)),30 $((cx - 104)),36" \
        -draw "polygon $((cx + 112)),30 $((cx + 104)),24 $((cx + 96)),30 $((cx + 104)),36" \
        scroll.png
}

make_version_plaque() {
    # A light plaque behind the version tag and the red version number beside it.
    convert -size 136x32 xc:none -fill white -draw 'roundrectangle 0,0 135,31 8,8' vp_mask.png
    convert -size 136x32 gradient:'#fbf1d2'-'#dcc084' vp_mask.png -compose copyopacity \
        -composite -fill none -stroke '#8a5a18' -strokewidth 2 \
        -draw 'roundrectangle 1,1 134,30 7,7' -stroke '#fff8dc' -strokewidth 1 \
        -draw 'roundrectangle 3,3 132,28 6,6' vp.png
}

make_rail() {
    # The menu rail: a bronze bar with gold rims and a dark slot behind each button.
    local w=800 h=$((rail_bottom - rail_top))
    convert -size "${w}x$h" gradient:'#5a3a1a'-'#1e1208' rail.png
    gold "$w" 3 rail_rim.png 90 1
    convert rail.png rail_rim.png -geometry +0+0 -composite \
        rail_rim.png -geometry "+0+$((h - 3))" -composite rail.png
    local x draw=""
    for x in 24 136 248 360 472 584; do
        draw="$draw roundrectangle $((x - 2)),$((536 - rail_top - 2)) $((x + 109)),$((566 - rail_top + 1)) 4,4"
    done
    convert rail.png -fill '#0a0604' -draw "$draw" rail.png
    # Gold studs between the slots.
    draw=""
    for x in 134 246 358 470 582; do
        draw="$draw circle $x,$((h / 2)) $((x + 1)),$((h / 2 + 1))"
    done
    convert rail.png -fill '#f0c860' -draw "$draw" rail.png
}

make_background() {
    make_outline
    make_sky
    make_lacquer
    make_scroll
    make_version_plaque
    make_rail

    # The sky shows above the scroll; lacquer everywhere else inside the frame.
    convert -size 800x600 xc:black -fill white -draw "rectangle 0,0 800,$((scroll_top + 8))" \
        -blur 0x2 sky_mask.png
    with_mask lacquer.png sky.png sky_mask.png bg.png
    # Gold threads with studs down the margins either side of the scroll.
    local y draw=""
    for y in 150 210 270 330 390 450; do
        draw="$draw polygon 30,$((y - 6)) 34,$y 30,$((y + 6)) 26,$y"
        draw="$draw polygon 589,$((y - 6)) 592,$y 589,$((y + 6)) 586,$y"
    done
    convert bg.png -stroke '#8a6224' -strokewidth 1 -draw 'line 30,124 30,496' \
        -draw 'line 589,124 589,496' -stroke '#5a3c10' -fill '#f0c860' -draw "$draw" bg.png
    convert bg.png scroll.png -geometry "+$scroll_left+$scroll_top" -compose over -composite \
        rail.png -geometry "+0+$rail_top" -composite \
        vp.png -geometry +32+19 -composite bg.png

    # The frame along the outline: a gold rim, a lacquer band and a thin inner gold line.
    gold 800 600 frame_gold.png 35 9
    convert outline.png inner4.png -compose difference -composite rim.png
    convert inner10.png inner12.png -compose difference -composite line.png
    bevel outline.png frame_bevel.png 2 35
    convert frame_gold.png frame_bevel.png -compose overlay -composite frame_lit.png
    convert inner4.png inner10.png -compose difference -composite band.png
    with_mask bg.png lacquer.png band.png bg.png
    with_mask bg.png frame_lit.png rim.png bg.png
    with_mask bg.png frame_gold.png line.png bg.png

    # Outside the outline the background is white; the shape picture has magenta there.
    avoid_color bg.png "$magenta" '#FE00FF'
    convert bg.png -size 800x600 xc:white \( outline.png -negate \) -compose over -composite \
        background.png
    convert bg.png -size 800x600 xc:"$magenta" \( outline.png -negate \) -compose over -composite \
        shape.png
    local n
    n=$(count_color shape.png "$magenta")
    if [ "$n" != "$outside" ]; then
        echo "generate: shape has $n magenta pixels, expected $outside" >&2
        exit 1
    fi
    save_bmp background.png background 800 600
    save_bmp shape.png shape 800 600
}
