#!/bin/bash
# Usage: readme-table.sh TOOL LAYOUT README. Fails with a diff when the README's
# layout table is not what "explain --markdown" says of the shipped layout; the
# table stands between the layout-table markers.
set -u
tool=$1 layout=$2 readme=$3
dir=$(mktemp -d); trap 'rm -rf "$dir"' EXIT
"$tool" explain "$layout" --markdown > "$dir/want" || { echo "explain failed"; exit 1; }
[ "$(grep -c -x -e '<!-- layout-table:begin -->' -e '<!-- layout-table:end -->' "$readme")" = 2 ] ||
    { echo "the README needs one begin and one end marker"; exit 1; }
sed -n '/^<!-- layout-table:begin -->$/,/^<!-- layout-table:end -->$/p' "$readme" | sed '1d;$d' > "$dir/got"
[ -s "$dir/want" ] || { echo "explain printed nothing"; exit 1; }
diff -u "$dir/want" "$dir/got" || { echo "README.md's layout table differs from explain --markdown $layout"; exit 1; }
