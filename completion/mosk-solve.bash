# bash completion for mosk-solve: options, their fixed values, description
# files, and for --set the definitions of the description on the line.

# The names of the Definition section of a description: the words
# "\name =" before the first "Parameter".
_mosk_solve_definitions()
{
    sed -n '/^[[:space:]]*Parameter/q; s/^[[:space:]|]*\\\([A-Za-z_][A-Za-z0-9_\\]*\)[[:space:]]*=.*/\1/p' \
        "$1" 2>/dev/null
}

_mosk_solve()
{
    local cur prev word table
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        --format)
            COMPREPLY=($(compgen -W "table csv json" -- "$cur"))
            return ;;
        --drop-tolerance)
            COMPREPLY=($(compgen -W "AUTO NONE" -- "$cur"))
            return ;;
        --method)
            COMPREPLY=($(compgen -W "sor:auto gauss-seidel gauss-seidel-backward sor:1.2 bicgstab jacobi" -- "$cur"))
            return ;;
        --mosk)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --plot)
            COMPREPLY=($(compgen -f -X '!*.@(svg|png|pdf)' -- "$cur") $(compgen -d -S / -- "$cur"))
            compopt -o nospace 2>/dev/null
            return ;;
        --graph)
            COMPREPLY=($(compgen -f -X '!*.@(svg|png|pdf|dot)' -- "$cur") $(compgen -d -S / -- "$cur"))
            compopt -o nospace 2>/dev/null
            return ;;
        --set)
            for word in "${COMP_WORDS[@]}"; do
                case $word in *.table|*.TABLE) table=$word ;; esac
            done
            if [ -n "$table" ] && [ -r "$table" ]; then
                COMPREPLY=($(compgen -S = -W "$(_mosk_solve_definitions "$table")" -- "$cur"))
                compopt -o nospace 2>/dev/null
            fi
            return ;;
        -E|-M|--epsilon|--max-iterations|--timeout|--jobs|--mosk-flags|--plot-measures|--max-markings|--max-memory)
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "-E -M -I -P --iterative --parallel --set --jobs --plot
            --plot-measures --graph --format
            --verbose --progress --no-progress --keep --timeout --max-markings --max-memory
            --accept-capped-counts --strict --drop-tolerance --method --mosk --mosk-flags --version --help
            -c -C -e -H -i -l -p -r -R -s -t -v -x -y" -- "$cur"))
        return
    fi
    COMPREPLY=($(compgen -f -X '!*.@(table|TABLE)' -- "$cur") $(compgen -d -S / -- "$cur"))
    compopt -o nospace 2>/dev/null
}
complete -F _mosk_solve mosk-solve
