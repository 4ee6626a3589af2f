# The banner (198 x 112, shown at 384, -1) and the version tag (67 x 21, shown at 38, 24).
# Both start from the piece of background they cover, so their corners blend in.

# bg_piece X Y W H OUT: the background under a picture placed at X, Y; rows above the top
# edge repeat the first row.
bg_piece() {
    local top=$2 pad=0
    if [ "$top" -lt 0 ]; then pad=$((-top)) top=0; fi
    if [ "$pad" -eq 0 ]; then
        convert bg.png -crop "$3x$4+$1+$top" +repage "$5"
        return
    fi
    convert bg.png -crop "$3x$(($4 - pad))+$1+$top" +repage \
        \( +clone -crop "$3x1+0+0" +repage -scale "$3x$pad!" \) +swap -append "$5"
}

make_banner() {
    # A crimson pennant with a gold rim hanging from the top edge, a jewel and a ribbon.
    bg_piece 384 -1 198 112 banner_bg.png
    local shape='polygon 30,0 160,0 160,60 95,92 30,60'
    convert -size 198x112 xc:black -fill white -draw "$shape" banner_mask.png
    convert -size 198x112 gradient:'#8a1420'-'#2a0206' banner_fill.png
    ring banner_mask.png 4 banner_rim.png
    erode banner_mask.png 7 banner_in7.png
    ring banner_in7.png 1 banner_line.png
    gold 198 112 banner_gold.png 70 4
    bevel banner_mask.png banner_bevel.png 2 35
    convert banner_gold.png banner_bevel.png -compose overlay -composite banner_lit.png
    # Its shadow on the sky.
    convert banner_mask.png -blur 0x4 -level 0,200% +level-colors white,'#606060' banner_shadow.png
    convert banner_bg.png banner_shadow.png -compose multiply -composite banner.png
    with_mask banner.png banner_fill.png banner_mask.png banner.png
    # A faint diamond lattice on the cloth.
    convert -size 198x112 pattern:hs_diagcross -negate -fill '#a83838' -opaque white \
        banner_mask.png -compose multiply -composite -blur 0x0.5 banner_lattice.png
    convert banner.png banner_lattice.png -compose screen -composite banner.png
    with_mask banner.png banner_lit.png banner_rim.png banner.png
    with_mask banner.png banner_gold.png banner_line.png banner.png
    # The jewel: a faceted diamond with a halo.
    convert -size 198x112 xc:black -fill white -draw 'polygon 95,12 111,30 95,48 79,30' \
        banner_jewel_mask.png
    glow banner_jewel_mask.png '#ffb060' 6 banner_jewel_glow.png
    convert banner.png banner_jewel_glow.png -compose screen -composite \
        -fill '#3a0a60' -stroke '#f0c860' -strokewidth 2 -draw 'polygon 95,12 111,30 95,48 79,30' \
        -stroke none -fill '#b060f0' -draw 'polygon 95,15 108,30 95,30' \
        -fill '#6a20b0' -draw 'polygon 95,30 108,30 95,45' \
        -fill '#d8a8ff' -draw 'polygon 95,15 82,30 95,30' \
        -fill '#4a1090' -draw 'polygon 95,30 82,30 95,45' \
        -fill white -draw 'circle 91,24 92,25' banner.png
    text_mask 198 112 15 '官方登录器' banner_text.png north 0 54 0.4
    convert -size 198x112 gradient:'#fffbe8'-'#e8b048' banner_text_gold.png
    fancy_text banner.png banner_text.png banner_text_gold.png '#2a0406' '#ff6a30' 3 banner.png
    save_bmp banner.png banner 198 112
}

make_version_tag() {
    # A small enamel plate reading 版本号 that sits on the version plaque.
    bg_piece 38 24 67 21 tag_bg.png
    convert tag_bg.png -fill '#6a0c12' -stroke '#8a5a18' -strokewidth 1 \
        -draw 'roundrectangle 0,0 66,20 5,5' -fill none -stroke '#f0cc70' \
        -draw 'roundrectangle 2,2 64,18 4,4' tag.png
    text_mask 67 21 13 '版本号' tag_text.png center 0 0 0.5
    convert -size 67x21 gradient:'#fffbe8'-'#f0c860' tag_text_fill.png
    fancy_text tag.png tag_text.png tag_text_fill.png '#3a0406' '#ff8040' 1 tag.png 0.5
    save_bmp tag.png version_tag 67 21
}
