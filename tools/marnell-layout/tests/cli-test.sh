#!/bin/bash
# Usage: cli-test.sh TOOL SCENARIO. Fails with a diff when the tool's output,
# error stream or exit code is not what the scenario expects.
set -u
tool=$1 scenario=$2
dir=$(mktemp -d); trap 'rm -rf "$dir"' EXIT
printf 'NAME Example layout\r\nKEY:165;\r\nMOD:222;\r\nLAYOUT: /* key; modifier; lower; upper */\r\n65;0;225;193;\r\n69;0;233;201;\r\n65;1;226;194;\r\n69;1;234;202;\r\n' > "$dir/example.vmap"

expect() {  # expect CODE EXPECTED-STDOUT [EXPECTED-STDERR-PATTERN]
    local code=$1 want=$2 errpat=${3:-}
    if [ "$rc" != "$code" ]; then echo "exit $rc, wanted $code"; cat "$dir/err"; exit 1; fi
    if ! diff <(printf '%s' "$want") "$dir/out"; then echo "stdout differs"; exit 1; fi
    if [ -n "$errpat" ] && ! grep -q -- "$errpat" "$dir/err"; then echo "stderr lacks '$errpat':"; cat "$dir/err"; exit 1; fi
    if [ -z "$errpat" ] && [ -s "$dir/err" ]; then echo "unexpected stderr:"; cat "$dir/err"; exit 1; fi
}

case $scenario in
dump-example)
    "$tool" dump "$dir/example.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 'ActivationKeys: 165
ModifierKeys: 0 222
KeyCodes: 65 69 65 69
ModifierIndexes: 0 0 1 1
LowerChars: 225 233 226 234
UpperChars: 193 201 194 202
'
    # A trailing blank line adds the -388 row; an empty list prints nothing after the colon.
    printf 'KEY:\r\nMOD:\r\nLAYOUT:\r\n65;0;70000;;\r\n\r\n' > "$dir/odd.vmap"
    "$tool" dump "$dir/odd.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 'ActivationKeys:
ModifierKeys: 0
KeyCodes: 65 -388
ModifierIndexes: 0 0
LowerChars: 70000 0
UpperChars: 0 0
' ;;
dump-missing)
    "$tool" dump "$dir/none.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 1 '' "^error: $dir/none.vmap"
    printf 'NAME x\nKEY:165;\nMOD:222;\nLAYOUT:\n' > "$dir/lf.vmap"
    "$tool" simulate "$dir/lf.vmap" < /dev/null > "$dir/out" 2> "$dir/err"; rc=$?
    expect 1 '' "^error: $dir/lf.vmap" ;;
simulate-sequence)
    # The worked sequence, then Shift for upper case and Caps Lock with Shift for lower.
    printf '# worked sequence\ndown 165\ndown 65\nup 65\ndown 222\nup 165\nup 222\ndown 69\nup 69\n\ndown 165\ndown 160\ndown 65\nup 65\ncaps on\ndown 69\nup 160\ndown 69\nup 69\nup 165\ndown 65\n' \
        | "$tool" simulate "$dir/example.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 'pass
type U+00E1
swallow
swallow
pass
swallow
type U+00EA
swallow
pass
pass
type U+00C1
swallow
type U+00E9
pass
type U+00C9
swallow
pass
pass
' ;;
simulate-astral)
    # A code point above U+FFFF is typed as itself; a value past U+10FFFF as its low 16 bits.
    printf 'KEY:165;\r\nMOD:\r\nLAYOUT:\r\n65;0;128512;4259905;\r\n' > "$dir/astral.vmap"
    printf 'down 165\ndown 65\nup 65\ndown 160\ndown 65\n' | "$tool" simulate "$dir/astral.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 'pass
type U+1F600
swallow
pass
type U+0041
' ;;
simulate-bad-line)
    printf 'down 165\ndown 4294967296\ndown 65\n' | "$tool" simulate "$dir/example.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 2 'pass
' 'error: line 2:'
    printf 'down 4294967295\nup 65 x\n' | "$tool" simulate "$dir/example.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 2 'pass
' 'error: line 2:' ;;
shipped-layout)
    # Every chord and sequence of the shipped Welsh layout: lower case, Caps Lock
    # (upper), Caps Lock with Shift (lower again) and Shift alone (upper).
    layout=$3
    declare -A accent=(
        [circumflex]="00E2 00C2 00EA 00CA 00EE 00CE 00F4 00D4 00FB 00DB 0175 0174 0177 0176"
        [acute]="00E1 00C1 00E9 00C9 00ED 00CD 00F3 00D3 00FA 00DA 1E83 1E82 00FD 00DD"
        [grave]="00E0 00C0 00E8 00C8 00EC 00CC 00F2 00D2 00F9 00D9 1E81 1E80 1EF3 1EF2"
        [diaeresis]="00E4 00C4 00EB 00CB 00EF 00CF 00F6 00D6 00FC 00DC 1E85 1E84 00FF 0178")
    vowels=(65 69 73 79 85 87 89)
    : > "$dir/in"; want=''
    for pair in "-:circumflex" "192:acute" "222:acute" "223:grave" "50:diaeresis" "54:circumflex"; do
        mod=${pair%%:*}; chars=(${accent[${pair#*:}]})
        for mode in lower caps capsshift shift; do
            case $mode in lower|shift) echo "caps off" ;; *) echo "caps on" ;; esac >> "$dir/in"
            for v in 0 1 2 3 4 5 6; do
                printf 'down 165\n' >> "$dir/in"; want+=$'pass\n'
                case $mode in *shift) printf 'down 160\n' >> "$dir/in"; want+=$'pass\n' ;; esac
                [ "$mod" != - ] && { printf 'down %s\nup %s\n' "$mod" "$mod" >> "$dir/in"; want+=$'swallow\nswallow\n'; }
                case $mode in caps|shift) c=${chars[v*2+1]} ;; *) c=${chars[v*2]} ;; esac
                printf 'down %s\nup %s\nup 165\n' "${vowels[v]}" "${vowels[v]}" >> "$dir/in"
                want+="type U+$c"$'\nswallow\npass\n'
                case $mode in *shift) printf 'up 160\n' >> "$dir/in"; want+=$'pass\n' ;; esac
            done
        done
    done
    "$tool" simulate "$layout" < "$dir/in" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 "$want" ;;
check-missing)
    "$tool" check "$dir/none.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 2 "$dir/none.vmap: error: the file cannot be opened or read (missing, not accessible, or larger than 16 MiB): the layout does not load
"
    mkdir "$dir/folder.vmap"
    "$tool" check "$dir/folder.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    [ "$rc" = 2 ] || { echo "a directory: exit $rc, wanted 2"; exit 1; }
    "$tool" check "$dir/example.vmap" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 '' ;;
explain-missing)
    "$tool" explain "$dir/none.vmap" --markdown > "$dir/out" 2> "$dir/err"; rc=$?
    expect 2 '' "^error: $dir/none.vmap"
    "$tool" explain "$dir/example.vmap" --html > "$dir/out" 2> "$dir/err"; rc=$?
    expect 2 '' '^usage:' ;;
check-shipped)
    "$tool" check "$3" > "$dir/out" 2> "$dir/err"; rc=$?
    expect 0 '' ;;
*) echo "unknown scenario $scenario"; exit 1 ;;
esac
