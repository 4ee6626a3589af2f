# The picture buttons: six menu buttons (108 x 30) that sit in the slots of the menu rail,
# and two start buttons (207 x 73, 203 x 81) whose plaques stand on pure green, the colour
# the launcher cuts out of their shape. Three pictures each: normal, hover, pressed.

states='normal hover pressed'

# plate W H RADIUS TOP BOTTOM RIM STATE OUT: a rounded enamel plate with a bevelled gold rim
# on the slot colour; pressed plates are lit from below and sit a little deeper.
plate() {
    local w=$1 h=$2 r=$3 top=$4 bottom=$5 rim=$6 state=$7
    convert -size "${w}x$h" xc:black -fill white \
        -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" plate_mask.png
    if [ "$state" = pressed ]; then
        convert -size "${w}x$h" gradient:"$bottom"-"$top" plate_fill.png
    else
        convert -size "${w}x$h" gradient:"$top"-"$bottom" plate_fill.png
        # A glassy sheen over the upper half.
        convert -size "${w}x$((h / 2))" gradient:'#ffffff'-'#000000' -level 0,350% \
            -fill black -colorize 55 -background black -extent "${w}x$h" plate_sheen.png
        convert plate_fill.png plate_sheen.png -compose screen -composite plate_fill.png
    fi
    ring plate_mask.png 2 plate_rim.png
    gold "$w" "$h" plate_gold.png 80 2
    convert plate_gold.png -modulate "$rim" plate_gold.png
    bevel plate_mask.png plate_bevel.png 1.2 "$([ "$state" = pressed ] && echo 70 || echo 30)"
    convert plate_gold.png plate_bevel.png -compose overlay -composite plate_gold.png
    convert -size "${w}x$h" xc:'#0a0604' plate_fill.png plate_mask.png -compose over \
        -composite plate.png
    with_mask plate.png plate_gold.png plate_rim.png "$8"
}

# caption BASE TEXT SIZE STATE OUT [X] [Y]: the button caption, bright on hover and pressed
# one pixel down and to the right.
caption() {
    local w h dx=${6:-0} dy=${7:-0} face glow
    w=$(convert "$1" -format %w info:)
    h=$(convert "$1" -format %h info:)
    case $4 in
    normal) face="gradient:#fff3c8-#e0a848" glow='#c06018' ;;
    hover) face="gradient:#ffffff-#ffd060" glow='#ff9a30' ;;
    pressed) face="gradient:#f0d8a0-#b88030" glow='#803010' dx=$((dx + 1)) dy=$((dy + 1)) ;;
    esac
    text_mask "$w" "$h" "$3" "$2" caption_mask.png center "$dx" "$dy" 0.5
    convert -size "${w}x$h" "$face" caption_face.png
    fancy_text "$1" caption_mask.png caption_face.png '#1a0c04' "$glow" \
        "$([ "$4" = hover ] && echo 4 || echo 2)" "$5" 1
}

make_menu_buttons() {
    local name text state
    while read -r name text; do
        for state in $states; do
            case $state in
            normal) plate 108 30 6 '#2c3c86' '#0e1640' 100 normal menu.png ;;
            hover) plate 108 30 6 '#4a66c8' '#1a2a70' 125 hover menu.png ;;
            pressed) plate 108 30 6 '#2a3a80' '#080e2a' 85 pressed menu.png ;;
            esac
            caption menu.png "$text" 15 "$state" menu.png
            save_bmp menu.png "menu_${name}_$state" 108 30
        done
    done <<'EOF'
register 注册账号
password 修改密码
leaderboards 排行榜
account 角色信息
version 版本检测
exit 退出
EOF
}

# start_button NAME W H TOP QUALITY LIGHT DARK: a long hexagonal plaque with the quality on
# a small first line and 开始游戏 below it, on green.
start_button() {
    local name=$1 w=$2 h=$3 top=$4 quality=$5 light=$6 dark=$7 state
    # The plaque spans columns 16..200 (the panel shows the picture from column 8) and 53 rows.
    local shape="polygon 16,$((top + 26)) 38,$top 178,$top 200,$((top + 26)) 178,$((top + 52)) 38,$((top + 52))"
    convert -size "${w}x$h" xc:black +antialias -fill white -draw "$shape" start_mask.png
    ring start_mask.png 3 start_rim.png
    erode start_mask.png 6 start_in6.png
    ring start_in6.png 1 start_line.png
    bevel start_mask.png start_bevel.png 2 30
    for state in $states; do
        local l=$light d=$dark mod=100 glow=8
        case $state in
        hover) mod=130 glow=14 ;;
        pressed) l=$dark d=$light mod=80 glow=4 ;;
        esac
        convert -size "${w}x$h" gradient:"$l"-"$d" -modulate "$mod" start_fill.png
        # An inner fire that brightens the middle of the plaque.
        convert -size "${w}x$h" xc:black -fill "$light" \
            -draw "ellipse 108,$((top + 30)) 70,14 0,360" -blur "0x$glow" start_core.png
        convert start_fill.png start_core.png -compose screen -composite start_fill.png
        gold "$w" "$h" start_gold.png 75 3
        convert start_gold.png -modulate "$mod" start_bevel.png -compose overlay -composite \
            start_gold.png
        with_mask start_fill.png start_gold.png start_rim.png start.png
        with_mask start.png start_gold.png start_line.png start.png
        # The plaque's middle is column 108; north gravity centres on the picture's middle.
        local dx=$((108 - w / 2)) dy=0
        [ "$state" = pressed ] && dx=$((dx + 1)) dy=1
        text_mask "$w" "$h" 11 "$quality" start_small.png north "$dx" "$((top + 6 + dy))" 0.3
        convert -size "${w}x$h" xc:'#fff0c0' start_small_face.png
        fancy_text start.png start_small.png start_small_face.png '#1a0804' '#000000' 1 start.png 0.8
        text_mask "$w" "$h" 21 '开始游戏' start_big.png north "$dx" "$((top + 21 + dy))" 0.8
        convert -size "${w}x$h" gradient:'#ffffff'-'#ffd050' start_big_face.png
        fancy_text start.png start_big.png start_big_face.png '#200802' '#ffb040' \
            "$([ "$state" = hover ] && echo 6 || echo 3)" start.png 1.3
        # Everything outside the plaque is the cut-out green; nothing inside may be green.
        avoid_color start.png "$green" '#00FE00'
        convert -size "${w}x$h" xc:"$green" start.png start_mask.png -compose over -composite \
            start.png
        save_bmp start.png "start_${name}_$state" "$w" "$h"
    done
}

make_start_buttons() {
    start_button hd 207 73 2 '高清画质' '#d04a18' '#5a0a04'
    start_button standard 203 81 12 '标准画质' '#1a9a8a' '#04302c'
}
