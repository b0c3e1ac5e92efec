#!/usr/bin/env bash
# Stages the demo CD: copies the text files of demo/cd to DEST, draws there every picture that
# bmp.ini and cht.ini name (backgrounds, return block, marquees, buttons and their masks), and
# makes every package folder that the driver list tova.txt names, each with a placeholder text
# at its setup program's name (add-setup-standins.sh puts the stand-in setup program there) and,
# where the package is installed with a response file, that file ("setup1.iss").
# Usage: make-cd.sh DEST
#
# A picture is drawn by the role of the key that names it, not by its file name: "Common" item i
# is tab i (0-4: Drivers, Utilities, Readme, System, More), 5 the exit and 6 the web button;
# "Panel0" own item 0 is the Rapid Setup switch, 1 the start and 2 the normal-mode button. Masks
# are black where the picture is opaque and white elsewhere, and the picture is black wherever
# its mask is white, as the masked blit needs. Every file is a BMP3 (uncompressed, 24 bits).
#
# Layout the pictures are drawn for (client pixels of the dialog: about 640 x 489 on Windows at
# 96 dpi, 640 x 452 under Wine, so nothing that matters lies below y 450): header strip at
# (200,15); the left column (x < 196) holds the logo, the five tabs and Web/Exit, clear of every
# text row, scrolled or not; the area right of it stays black for the text rows; the Rapid Setup
# block is 159 x 73 at (312,338), where the start and normal buttons together cover exactly the
# notice that is drawn at the switch's place when Rapid Setup is turned on; y 414-419 is the
# progress track; the pointer blinks at (240/255,420) below and left of the start button, and
# the return block (black, 272 x 73) wipes it from x 200; the marker of a resumed run's wait
# runs along y 434 up to x 505, left of the version mark.
set -euo pipefail

dest=${1:?usage: make-cd.sh DEST}
src=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/cd
# ImageMagick's own convert; /usr/local/bin may hold a stand-in without drawing.
convert=/usr/bin/convert
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
plain=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -x "$convert" ] || { echo "make-cd: $convert (ImageMagick) is missing" >&2; exit 1; }
for f in "$bold" "$plain"; do
    [ -r "$f" ] || { echo "make-cd: $f (fonts-dejavu-core) is missing" >&2; exit 1; }
done
[ -f "$src/bmp.ini" ] || { echo "make-cd: no $src/bmp.ini" >&2; exit 1; }

# Staging replaces DEST whole, so it must be empty, missing, or an earlier staged CD.
if [ -e "$dest" ]; then
    [ -d "$dest" ] || { echo "make-cd: $dest is not a folder" >&2; exit 1; }
    if [ -n "$(ls -A "$dest")" ] && [ ! -f "$dest/id.log" ]; then
        echo "make-cd: $dest is neither empty nor a staged CD; not replacing it" >&2
        exit 1
    fi
    [ "$(cd "$dest" && pwd -P)" != "$(cd "$src" && pwd -P)" ] ||
        { echo "make-cd: DEST is the source folder" >&2; exit 1; }
    rm -rf "$dest"
fi
mkdir -p "$dest"
cp -R "$src/." "$dest/"

# ---------------------------------------------------------------------------------------------
# Package folders. The driver list's sixth field is "%CDROM%" and the folder (backslashes,
# ending in one), the seventh the setup program's file name; folders are made in the letter
# case written there, and one folder spelled in two cases is refused (Windows would see one).

# The first line of every placeholder: add-setup-standins.sh looks for it.
PLACEHOLDER_MARK='tova demo CD: placeholder setup program'
# Folders whose packages are started with the response file of their own folder, matched
# case-blind in "\" + the folder, as the program matches them in the package's path.
RESPONSE_FILE_MARKERS=('OTHER\PROMISE\' 'OTHER\SII\SI3112' 'OTHER\ITE_RAID' 'CHIPSET\VIA\USB2.0'
                       '\SIS\SIS635_645_650_733_735\')

# The packages of tova.txt as "folder<TAB>setup file" lines, each once.
list_packages() {
    tr -d '\r' <"$1" | awk -F';' '
        /^[ \t]*;/ || NF < 7 { next }
        {
            if (substr($6, 1, 7) != "%CDROM%") {
                printf "make-cd: tova.txt line %d: folder \"%s\" does not start with %%CDROM%%\n", NR, $6 > "/dev/stderr"
                bad = 1
                next
            }
            print substr($6, 8) "\t" $7
        }
        END { exit bad }' | sort -u
}

needs_response_file() {
    local upper marker
    upper="\\$(printf '%s' "$1" | tr '[:lower:]' '[:upper:]')"
    for marker in "${RESPONSE_FILE_MARKERS[@]}"; do
        [[ $upper == *"$marker"* ]] && return 0
    done
    return 1
}

packages=0
stage_packages() {
    local lines folder file relative lower prefix part
    declare -A spelled=()
    lines=$(list_packages "$dest/tova.txt") || return 1
    while IFS=$'\t' read -r folder file; do
        [ -n "$folder$file" ] || continue
        if [[ ! $folder =~ ^[A-Za-z0-9_.\ \\-]+\\$ || $folder == *..* || $folder == \\* ]]; then
            echo "make-cd: tova.txt: bad package folder '$folder'" >&2
            return 1
        fi
        if [[ ! $file =~ ^[A-Za-z0-9_.-]+$ || $file == *..* ]]; then
            echo "make-cd: tova.txt: bad setup program '$file' in '$folder'" >&2
            return 1
        fi
        relative=${folder//\\//}
        # Every folder on the way, not only the package's own, has one spelling.
        prefix=
        while IFS= read -r -d / part; do
            prefix+=$part/
            lower=$(printf '%s' "$prefix" | tr '[:upper:]' '[:lower:]')
            if [ -n "${spelled[$lower]:-}" ] && [ "${spelled[$lower]}" != "$prefix" ]; then
                echo "make-cd: tova.txt: folder spelled both '${spelled[$lower]}' and '$prefix'" >&2
                return 1
            fi
            spelled[$lower]=$prefix
        done <<<"$relative"
        mkdir -p "$dest/$relative"
        printf '%s\r\nIt stands for the setup program of the package in %s; staging the CD\r\nfor a test puts the stand-in setup program (setup_standin.exe) here.\r\n' \
            "$PLACEHOLDER_MARK" "$folder" >"$dest/$relative$file"
        if needs_response_file "$folder"; then
            printf '[InstallShield Silent]\r\nVersion=v6.00.000\r\nFile=Response File\r\n[File Transfer]\r\nOverwrittenReadOnly=NoToAll\r\n[DlgOrder]\r\nCount=0\r\n[SdFinishReboot-0]\r\nResult=1\r\nBootOption=0\r\n' \
                >"$dest/${relative}setup1.iss"
        fi
        packages=$((packages + 1))
    done <<<"$lines"
}
if [ -f "$dest/tova.txt" ]; then
    stage_packages || exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Colour of the dark window behind a button: its antialiased rim fades into it.
EDGE='#030b1c'
BK_W=640
BK_H=490

# ---------------------------------------------------------------------------------------------
# Writers. Every picture leaves here as an uncompressed 24-bit BMP3.

# write_opaque OUT CONVERT-ARGS...: an opaque picture.
write_opaque() {
    local out=$1
    shift
    "$convert" "$@" -alpha off -type TrueColor "BMP3:$out"
}

# write_masked IMAGE MASK CONVERT-ARGS...: the args build a picture with transparency; its
# alpha, cut at one half, gives the mask, and the picture is blackened where the mask is white.
write_masked() {
    local image=$1 mask=$2
    shift 2
    "$convert" \( "$@" \) -write mpr:pic +delete \
        \( mpr:pic -alpha extract -threshold 50% -write mpr:cut +delete \) \
        \( mpr:pic -background "$EDGE" -alpha remove -alpha off mpr:cut \
           -compose Multiply -composite +compose -type TrueColor -write "BMP3:$image" +delete \) \
        mpr:cut -negate -type TrueColor "BMP3:$mask"
}

# ---------------------------------------------------------------------------------------------
# Icons: MVG drawn in a 22 x 22 box, in colour $1 (and $2 for details in the icon's body).

icon_chip() {
    echo "fill $1 stroke none rectangle 5,5 16,16
          fill $2 circle 8,8 9,9
          fill none stroke $1 stroke-width 1.5
          line 8,1 8,4 line 11,1 11,4 line 14,1 14,4 line 8,17 8,20 line 11,17 11,20 line 14,17 14,20
          line 1,8 4,8 line 1,11 4,11 line 1,14 4,14 line 17,8 20,8 line 17,11 20,11 line 17,14 20,14"
}
icon_gear() {
    echo "fill none stroke $1 stroke-width 4 stroke-dasharray 3.3 2.5 circle 11,11 11,4
          stroke-dasharray none stroke-width 3 circle 11,11 11,6.5"
}
icon_page() {
    echo "fill $1 stroke none polygon 4,1 14,1 19,6 19,21 4,21
          fill $2 polygon 14,1 14,6 19,6
          fill none stroke $2 stroke-width 1.5 line 7,10 16,10 line 7,13 16,13 line 7,16 13,16"
}
icon_monitor() {
    echo "fill none stroke $1 stroke-width 2 roundrectangle 2,3 19,15 2,2
          fill $1 stroke none rectangle 5,6 16,12 rectangle 9,16 12,18 rectangle 5,18 16,20
          fill $2 rectangle 6,7 10,9"
}
icon_more() {
    echo "fill none stroke $1 stroke-width 2 circle 11,11 11,2
          stroke-width 3 line 11,6 11,16 line 6,11 16,11"
}
icon_power() {
    echo "fill none stroke $1 stroke-width 2.5 ellipse 11,12 7,7 -60,240 line 11,2 11,11"
}
icon_globe() {
    echo "fill none stroke $1 stroke-width 1.6 circle 11,11 11,2 ellipse 11,11 4,9 0,360
          line 2,11 20,11 line 4,6 18,6 line 4,16 18,16"
}
icon_bolt() {
    echo "fill $1 stroke $2 stroke-width 1 polygon 13,0 3,13 10,13 7,24 19,9 12,9 16,0"
}
icon_play() {
    echo "fill $1 stroke $2 stroke-width 1 polygon 4,1 20,11 4,21"
}
icon_list() {
    echo "fill $1 stroke none rectangle 2,3 5,6 rectangle 2,9 5,12 rectangle 2,15 5,18
          fill none stroke $1 stroke-width 2 line 8,4.5 20,4.5 line 8,10.5 20,10.5 line 8,16.5 17,16.5"
}

# ---------------------------------------------------------------------------------------------
# Looks: top and bottom of the face gradient, rim, text, icon, icon detail.

look_colours() {
    case $1 in
    tab-N) echo '#21529e #0a2150 #3f7cd4 #d2dff2 #8fb8f0 #0a2150' ;;
    tab-O) echo '#4a93f2 #1a4fae #c8e8ff #ffffff #ffffff #1a4fae' ;;
    tab-D) echo '#ffcb5c #c87000 #fff3c0 #241500 #3a2200 #ffcb5c' ;;
    exit-N) echo '#8e2020 #420808 #d05050 #f2d6d6 #ffb0b0 #420808' ;;
    exit-O) echo '#e04040 #8a1010 #ffd0d0 #ffffff #ffffff #8a1010' ;;
    exit-D) echo '#ffcb5c #c87000 #fff3c0 #241500 #3a2200 #ffcb5c' ;;
    rapid-N) echo '#178f96 #07434c #3fd0d6 #e6ffff #8ff0f4 #07434c' ;;
    rapid-O) echo '#2cc4cc #0d6a74 #d0ffff #ffffff #ffff60 #0d6a74' ;;
    start-N) echo '#2ea64c #0c4a1c #5ce07e #eaffee #b0ffc4 #0c4a1c' ;;
    start-O) echo '#50dc70 #178a30 #e0ffe6 #ffffff #ffff60 #178a30' ;;
    normal-N) echo '#4a5a78 #1c2436 #8898b8 #e4eaf4 #c0cce4 #1c2436' ;;
    normal-O) echo '#7488b0 #34405c #e0e8ff #ffffff #ffffff #34405c' ;;
    *) echo "make-cd: no colours for look $1" >&2; return 1 ;;
    esac
}

# face_args W H SHAPE LOOK: sets face to the convert arguments of a gradient face with rim and
# gloss. SHAPE: round (all corners), left (rounded on the left only), right (on the right only).
face_args() {
    local w=$1 h=$2 shape=$3 look=$4 r=8 x0 x1 top bottom rim
    read -r top bottom rim _ <<<"$(look_colours "$look")"
    if [ "$h" -ge 60 ]; then r=10; fi
    case $shape in
    round) x0=0 x1=$((w - 1)) ;;
    left) x0=0 x1=$((w - 1 + r + 2)) ;;
    right) x0=$((-r - 2)) x1=$((w - 1)) ;;
    esac
    face=(-size "${w}x${h}" "gradient:$top-$bottom"
          \( -size "${w}x${h}" xc:black -fill white
             -draw "roundrectangle $x0,0 $x1,$((h - 1)) $r,$r" \)
          -alpha off -compose CopyOpacity -composite +compose
          -fill none -stroke "$rim" -strokewidth 1
          -draw "roundrectangle $x0.5,0.5 $((x1 - 1)).5,$((h - 2)).5 $r,$r"
          -stroke none -fill 'rgba(255,255,255,0.13)'
          -draw "roundrectangle $((x0 + 2)),2 $((x1 - 2)),$((h / 2)) $((r - 2)),$((r - 2))")
}

# button IMAGE MASK W H SHAPE LOOK ICON SIZE LABEL [SUBLABEL]: one look of an image button. A
# tab or small button has its icon left of the label; a tall one (H >= 60) above it, or, with a
# sublabel, left of two lines.
button() {
    local image=$1 mask=$2 w=$3 h=$4 shape=$5 look=$6 icon=$7 size=$8 label=$9 sub=${10:-}
    local text ic detail args draw_icon push=0
    read -r _ _ _ text ic detail <<<"$(look_colours "$look")"
    if [ "${look#*-}" = D ]; then push=1; fi
    face_args "$w" "$h" "$shape" "$look"
    args=("${face[@]}")
    draw_icon=$("icon_$icon" "$ic" "$detail")
    if [ "$h" -lt 60 ]; then
        local ix=7 iy=$(((h - 22) / 2 + push)) tx=32
        [ "$size" -ge 13 ] && ix=14 tx=48
        args+=(-draw "translate $((ix + push)),$iy $draw_icon"
               -font "$bold" -pointsize "$size" -fill "$text"
               -annotate "+$((tx + push))+$((h / 2 + size / 2 - 1 + push))" "$label")
    elif [ -n "$sub" ]; then
        args+=(-draw "translate 9,14 scale 1.5,1.5 $draw_icon"
               -font "$bold" -pointsize "$size" -fill "$text" -annotate +46+33 "$label"
               -font "$plain" -pointsize 10 -annotate +47+52 "$sub")
    else
        args+=(-draw "translate $((w / 2 - 16)),9 scale 1.45,1.45 $draw_icon"
               -font "$bold" -pointsize "$size" -fill "$text" -gravity south
               -annotate +0+9 "$label" -gravity northwest)
    fi
    # The gap between the start and normal buttons: a dark seam on the start button's right.
    if [ "$shape" = left ]; then
        args+=(-stroke none -fill '#02060e' -draw "rectangle $((w - 1)),0 $((w - 1)),$((h - 1))")
    fi
    write_masked "$image" "$mask" "${args[@]}"
}

# ---------------------------------------------------------------------------------------------
# Backgrounds.

# frame_args: the window frame shared by the backgrounds: logo column, header band, black work
# area, progress track, footer.
frame_args() {
    printf '%s\n' -size "${BK_W}x${BK_H}" xc:black \
        \( -size "196x${BK_H}" gradient:'#0b2a62-#01040c' \) -geometry +0+0 -composite \
        \( -size 70x444 gradient:'#03112a-#000000' -rotate -90 \) \
        -geometry +196+0 -composite \
        \( -size 3x${BK_H} gradient:'#3c8cf0-#06162e' \) -geometry +195+0 -composite \
        \( -size 1x444 gradient:'#3c8cf0-#000000' -rotate -90 \) -geometry +196+68 -composite \
        -stroke '#12306a' -strokewidth 1 -fill none \
        -draw 'polyline 8,100 8,400' -draw 'polyline 187,100 187,400' \
        -draw 'line 20,84 176,84' \
        -stroke none -fill '#2d7cf0' -draw 'roundrectangle 12,16 58,62 8,8' \
        -fill '#0b2a62' -draw 'roundrectangle 18,22 52,56 5,5' \
        -stroke '#2d7cf0' -strokewidth 2 \
        -draw 'line 24,10 24,16 line 35,10 35,16 line 46,10 46,16 line 24,62 24,68 line 35,62 35,68 line 46,62 46,68' \
        -draw 'line 6,28 12,28 line 6,39 12,39 line 6,50 12,50 line 58,28 64,28 line 58,39 64,39 line 58,50 64,50' \
        -stroke none -font "$bold" -pointsize 24 -fill '#ffffff' -annotate +25+48 'F' \
        -font "$bold" -pointsize 15 -fill '#ffffff' -annotate +72+36 'FETCHYARD' \
        -font "$plain" -pointsize 10 -fill '#7fb0ff' -annotate +73+52 'Mainboard Driver CD' \
        -fill '#4f78b8' -annotate +73+66 'Demo Board Series' \
        -fill '#0c1e3c' -draw 'rectangle 0,414 639,419' \
        -fill '#000000' -draw 'rectangle 0,415 639,418' \
        -font "$plain" -pointsize 9 -fill '#3f5f90' -annotate +12+447 '(C) 2002 Fetchyard Corp.'
}

# background_main OUT: the window behind Panels 0 to 3, with the version mark at the bottom right.
background_main() {
    local args
    mapfile -t args < <(frame_args)
    write_opaque "$1" "${args[@]}" \
        -font "$bold" -pointsize 11 -fill '#1c3c70' -annotate +512+436 'Driver CD  Ver 1.0' \
        -font "$plain" -pointsize 10 -fill '#1c3c70' -annotate +512+449 'www.example.com'
}

# background_more OUT: Panel4's window: the frame with a drawn board and the support address.
background_more() {
    local args
    mapfile -t args < <(frame_args)
    write_opaque "$1" "${args[@]}" \
        -fill '#0d4a2a' -stroke '#2a8a50' -strokewidth 2 -draw 'rectangle 230,110 430,330' \
        -stroke none -fill '#9aa0a8' -draw 'rectangle 232,112 300,124 rectangle 304,112 330,120' \
        -fill '#d8d4c8' -draw 'rectangle 250,134 300,184' -fill '#f0ece0' -draw 'rectangle 256,140 294,178' \
        -fill '#1a1a1a' -draw 'rectangle 322,128 328,236 rectangle 336,128 342,236 rectangle 350,128 356,236' \
        -fill '#e8e8e8' -draw 'rectangle 321,126 329,129 rectangle 335,126 343,129 rectangle 349,126 357,129' \
        -fill '#b8bcc4' -draw 'rectangle 256,196 294,232' \
        -stroke '#8a8e96' -strokewidth 1 -draw 'line 260,200 260,228 line 266,200 266,228 line 272,200 272,228 line 278,200 278,228 line 284,200 284,228 line 290,200 290,228' \
        -stroke none -fill '#222222' -draw 'rectangle 372,196 398,222 rectangle 372,292 386,304' \
        -fill '#7a4a20' -draw 'rectangle 246,246 404,252' \
        -fill '#e8e8e0' -draw 'rectangle 246,262 404,268 rectangle 246,278 404,284 rectangle 246,294 364,300' \
        -fill '#101010' -draw 'rectangle 412,140 422,196 rectangle 412,206 422,240' \
        -fill '#3050a0' -draw 'circle 310,140 310,136 circle 310,156 310,152 circle 310,172 310,168 circle 370,140 370,136' \
        -fill '#c0a030' -draw 'circle 392,150 392,141' \
        -font "$bold" -pointsize 9 -fill '#e0f0e0' -annotate +372+322 'FY-845PE' \
        -font "$bold" -pointsize 16 -fill '#ffffff' -annotate +455+150 'Keep your board' \
        -annotate +455+170 'up to date' \
        -font "$plain" -pointsize 11 -fill '#a8c4f0' -annotate +455+200 'BIOS updates, new drivers' \
        -annotate +455+216 'and manuals are on our' \
        -annotate +455+232 'support site:' \
        -font "$bold" -pointsize 11 -fill '#ffd040' -annotate +455+256 'www.example.com/support'
}

# background_small OUT N: a panel background that is loaded but never shown.
background_small() {
    write_opaque "$1" -size 32x24 gradient:'#0b2a62-#000000' \
        -font "$bold" -pointsize 10 -fill '#ffffff' -annotate +2+16 "BK$2"
}

# return_block OUT: the patch that wipes the pointer and the start/normal buttons; it matches
# the black work area wherever it is drawn.
return_block() {
    write_opaque "$1" -size 272x73 xc:black
}

# marquee OUT N: a marquee text strip (the program keeps it but does not show it).
marquee() {
    local texts=('Welcome to the Demo Board Driver CD' 'Utilities for your board'
                 'Read me first' 'Your system at a glance' 'More from Fetchyard')
    write_opaque "$1" -size 300x18 xc:'#000814' -font "$bold" -pointsize 11 -fill '#ffd040' \
        -annotate +4+13 "${texts[$2]:-Fetchyard}"
}

# marquee_background OUT: the strip under the marquee text.
marquee_background() {
    write_opaque "$1" -size 18x300 gradient:'#000814-#06204a' -rotate -90
}

# ---------------------------------------------------------------------------------------------
# Roles: which picture a key of a description file stands for.

# draw_common I LOOK IMAGE MASK: look N, O or D of Common item I.
draw_common() {
    local i=$1 look=$2 image=$3 mask=$4
    local tabs=('chip Drivers' 'gear Utilities' 'page Readme' 'monitor System' 'more More')
    if [ "$i" -le 4 ]; then
        # shellcheck disable=SC2086
        set -- ${tabs[$i]}
        button "$image" "$mask" 172 42 round "tab-$look" "$1" 13 "$2"
    elif [ "$i" -eq 5 ]; then
        button "$image" "$mask" 83 36 round "exit-$look" power 12 Exit
    elif [ "$i" -eq 6 ]; then
        button "$image" "$mask" 83 36 round "tab-$look" globe 12 Web
    else
        echo "make-cd: no picture for Common item $i" >&2
        return 1
    fi
}

# draw_panel0 I LOOK IMAGE MASK: look N or O of Panel0's own item I.
draw_panel0() {
    local i=$1 look=$2 image=$3 mask=$4
    case $i in
    0) button "$image" "$mask" 159 73 round "rapid-$look" bolt 15 'Rapid Setup' 'Install all drivers' ;;
    1) button "$image" "$mask" 79 73 left "start-$look" play 14 Start ;;
    2) button "$image" "$mask" 80 73 right "normal-$look" list 13 Normal ;;
    *) echo "make-cd: no picture for Panel0 item $i" >&2; return 1 ;;
    esac
}

# The bitmap keys of one description file, as "section<TAB>key<TAB>value" lines.
bitmap_keys() {
    tr -d '\r' <"$1" | awk '
        /^\[/ { section = substr($0, 2, index($0, "]") - 2); next }
        /=/ {
            key = substr($0, 1, index($0, "=") - 1); value = substr($0, index($0, "=") + 1)
            if (value == "") next
            if (key ~ /bmp(_m)?$/ || key == "BK" || key == "rtnblk" || key == "MQ" || key == "MQ_BK")
                printf "%s\t%s\t%s\n", section, key, value
        }'
}

declare -A drawn=()   # output path -> what was drawn there
total=0

# Pictures are drawn two at a time; one convert is mostly start-up.
export MAGICK_THREAD_LIMIT=1
running=0
failed=0
# start_job COMMAND...: runs the command in the background once fewer than two are running.
start_job() {
    if [ "$running" -ge 2 ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    "$@" &
    running=$((running + 1))
}

# draw_file INI: draws the pictures one description file names.
draw_file() {
    local ini=$1 section key value
    declare -A values=()
    while IFS=$'\t' read -r section key value; do
        values["$section|$key"]=$value
    done < <(bitmap_keys "$ini")

    local entry mask_key image mask role
    for entry in "${!values[@]}"; do
        section=${entry%%|*}
        key=${entry#*|}
        if [[ $key == *_m ]]; then
            if [ -z "${values[$section|${key%_m}]:-}" ]; then
                echo "make-cd: $(basename "$ini"): [$section] $key has no picture ${key%_m}" >&2
                return 1
            fi
            continue
        fi
        image=$(cd_path "${values[$entry]}")
        mask_key="$section|${key}_m"
        mask=""
        if [ -n "${values[$mask_key]:-}" ]; then
            mask=$(cd_path "${values[$mask_key]}")
        fi
        role="$section $key"
        if [ -n "${drawn[$image]:-}" ]; then
            [ "${drawn[$image]}" = "$role" ] && continue
            echo "make-cd: $image is named for both ${drawn[$image]} and $role" >&2
            return 1
        fi
        drawn[$image]=$role
        mkdir -p "$(dirname "$image")"
        if [ -n "$mask" ]; then
            drawn[$mask]="$role mask"
            mkdir -p "$(dirname "$mask")"
        fi
        start_job draw_role "$section" "$key" "$image" "${mask:-$work/unused_mask.bmp}"
        total=$((total + 1))
    done
}

# cd_path VALUE: the file under DEST that a CD-relative name with backslashes means.
cd_path() {
    local value=$1
    if [[ ! $value =~ ^[A-Za-z0-9_.\\-]+$ || $value == *..* || $value == \\* ]]; then
        echo "make-cd: bad picture name '$value'" >&2
        return 1
    fi
    echo "$dest/${value//\\//}"
}

# draw_role SECTION KEY IMAGE MASK
draw_role() {
    local section=$1 key=$2 image=$3 mask=$4
    local n=${section#Panel}
    if [ "$section" = Common ] && [[ $key =~ ^([0-9]+)_([NOD])bmp$ ]]; then
        draw_common "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "$image" "$mask"
    elif [ "$section" = Panel0 ] && [[ $key =~ ^([0-9]+)_([NO])bmp$ ]]; then
        draw_panel0 "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "$image" "$mask"
    elif [[ $section =~ ^Panel[0-4]$ ]]; then
        case $key in
        BK)
            case $n in
            0) background_main "$image" ;;
            4) background_more "$image" ;;
            *) background_small "$image" "$n" ;;
            esac
            ;;
        rtnblk) return_block "$image" ;;
        MQ) marquee "$image" "$n" ;;
        MQ_BK) marquee_background "$image" ;;
        *) echo "make-cd: no picture for [$section] $key" >&2; return 1 ;;
        esac
    else
        echo "make-cd: no picture for [$section] $key" >&2
        return 1
    fi
}

for ini in "$src/bmp.ini" "$src/cht.ini"; do
    if [ -f "$ini" ]; then
        draw_file "$ini"
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
if [ "$failed" -ne 0 ]; then
    # What the disk and the folders looked like, for a failure that writes nothing at all.
    echo "make-cd: drawing failed; free space and folders:" >&2
    df -h "$dest" >&2 || true
    ls -ld "$dest" "$dest/bmp" >&2 || true
    exit 1
fi
echo "make-cd: staged $dest with $total pictures and $packages package(s)"
