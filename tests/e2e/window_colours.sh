# Sourced by the end-to-end rounds of both front ends.
# colours_wrong PICTURE DPI: each point of the window below, and of any more
# lines on standard input, that does not show its colour in PICTURE, the
# window taken at DPI dots per inch; nothing when all are right.
colours_wrong() {
    local what x y expected got
    while read -r what x y expected; do
        x=$((x * $2 / 96)) y=$((y * $2 / 96))
        got=$(convert "$1" -format "%[fx:int(255*p{$x,$y}.r+.5)],%[fx:int(255*p{$x,$y}.g+.5)],%[fx:int(255*p{$x,$y}.b+.5)]" info:)
        [ "$got" = "$expected" ] || echo "$what at $x,$y is $got, not $expected"
    done < <(cat <<'COLOURS'
window 480 2 192,192,255
title-label 70 20 255,192,128
question-label 172 62 255,192,128
option-1 125 51 0,255,255
option-5 125 147 0,255,255
check-button 186 124 128,255,128
new-button 354 156 255,128,128
question-box 418 92 255,255,255
result-area 300 294 255,255,255
COLOURS
        cat)
}
