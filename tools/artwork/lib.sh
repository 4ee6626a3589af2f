# Helpers shared by the picture recipes. Sourced by generate; runs inside its work directory.

# save_bmp IMAGE NAME WIDTH HEIGHT: writes assets/NAME.bmp as a 24-bit bitmap after checking
# its size, so a recipe that drifts fails here rather than in the launcher.
save_bmp() {
    local size
    size=$(convert "$1" -format '%wx%h' info:)
    if [ "$size" != "$3x$4" ]; then
        echo "generate: $2 is $size, expected $3x$4" >&2
        exit 1
    fi
    convert "$1" -alpha off -depth 8 -type TrueColor "BMP3:$out/$2.bmp"
}

# count_color IMAGE COLOUR: number of pixels of exactly that colour.
count_color() {
    convert "$1" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info:
}

# avoid_color IMAGE COLOUR REPLACEMENT: art must never hit a key colour by accident, or the
# launcher would cut a hole into it.
avoid_color() {
    convert "$1" -fill "$3" -opaque "$2" "$1"
}

# gold W H OUT [ANGLE] [BANDS]: brushed gold with soft diagonal highlights.
gold() {
    local angle=${4:-30} bands=${5:-3}
    convert -size 1x90 gradient:'#3b2205'-'#b8862b' -size 1x110 gradient:'#b8862b'-'#fff6cf' \
        -size 1x56 gradient:'#fff6cf'-'#d8a846' -append "$work/gold_clut.png"
    convert -size "$(($1 + $2))x$(($1 + $2))" gradient: -rotate "$angle" \
        -gravity center -crop "$1x$2+0+0" +repage \
        -function sinusoid "$bands,0,0.45,0.55" \
        "$work/gold_clut.png" -clut "$3"
}

# bevel MASK OUT [BLUR] [ELEVATION]: a grey relief lit from the top left, 50% grey on flat
# parts, for overlaying onto a fill so that the shape in MASK looks raised.
bevel() {
    convert "$1" -colorspace gray -blur "0x${3:-1.5}" -shade "135x${4:-30}" -auto-level \
        -function polynomial 1,0 "$2"
}

# erode MASK RADIUS OUT: shrinks the white of MASK; the picture's border counts as black, so
# a shape that touches the border shrinks away from it too.
erode() {
    convert "$1" -alpha off -colorspace gray -bordercolor black -border 1 \
        -morphology Erode "Disk:$2" -shave 1x1 "$3"
}

# ring MASK WIDTH OUT: the band of the given width just inside the edge of MASK's white.
ring() {
    erode "$1" "$2" ring_inner.png
    convert "$1" -alpha off -colorspace gray ring_inner.png -compose difference -composite "$3"
}

# alpha_mask IMAGE OUT: the opacity of IMAGE as a white-on-black mask.
alpha_mask() {
    convert "$1" -alpha extract "$2"
}

# with_mask BASE FILL MASK OUT: BASE with FILL painted where MASK is white.
with_mask() {
    convert "$1" "$2" "$3" -alpha off -compose over -composite "$4"
}

# glow MASK COLOUR RADIUS OUT: a soft coloured halo around the white of MASK, as an image
# with alpha, for compositing over a picture.
glow() {
    convert "$1" -colorspace gray -blur "0x$3" -level 0,60% \
        \( +clone -fill "$2" -colorize 100 \) +swap -alpha off -compose copyopacity -composite "$4"
}

# text_mask W H POINTSIZE TEXT OUT [GRAVITY] [X] [Y] [WEIGHT]: the text in white on black;
# WEIGHT (a stroke width, e.g. 0.5) thickens the strokes of a face that has no bold.
text_mask() {
    convert -size "$1x$2" xc:black -font "$font" -pointsize "$3" -fill white \
        -stroke white -strokewidth "${9:-0}" \
        -gravity "${6:-center}" -annotate "+${7:-0}+${8:-0}" "$4" "$5"
}

# fancy_text BASE MASK FILL OUTLINE GLOW GLOWRADIUS OUT [OUTLINEWIDTH]: draws the text of
# MASK on BASE with a dark outline, a coloured glow and FILL (an image of BASE's size) for its
# face.
fancy_text() {
    convert "$2" -morphology Dilate "Disk:${8:-1.2}" "$work/ft_outline.png"
    glow "$2" "$5" "$6" "$work/ft_glow.png"
    convert "$1" "$work/ft_glow.png" -compose screen -composite \
        \( -size "$(convert "$1" -format '%wx%h' info:)" xc:"$4" \) "$work/ft_outline.png" \
        -compose over -composite \
        "$3" "$2" -compose over -composite "$7"
}
