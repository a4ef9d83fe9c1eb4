# bash completion of subsysmgr: its commands, the options of each and their fixed values.

_subsysmgr() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local valued='--db|--lang|--file|--console|--as-account-type|--group|--id|--number|--name-chs|--name-cht|--name-en|--index|--visible|--web|--acct-types|--since|--against|--release|--move-orphans-to'
    COMPREPLY=()
    case $prev in
        --lang) COMPREPLY=($(compgen -W "CHS CHT EN" -- "$cur")) ;;
        --console) COMPREPLY=($(compgen -W "main web" -- "$cur")) ;;
        --visible | --web) COMPREPLY=($(compgen -W "true false" -- "$cur")) ;;
        --id) COMPREPLY=($(compgen -W "auto" -- "$cur")) ;;
        --db | --file | --against | --release)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
            ;;
    esac
    if [[ $prev == @($valued) ]]; then
        return
    fi

    # The words of the command so far, without the options and their values.
    local i word command=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == @($valued) ]]; then
            ((i++))
        elif [[ $word != -* ]]; then
            command+=("$word")
        fi
    done

    local commands="tree groups subsystems show find history revert add edit delete export import init repair check upgrade help"
    local fields="--name-chs --name-cht --name-en --index --visible --web --acct-types"
    local words
    case ${command[*]} in
        "") words="$commands --version" ;;
        help) words=$commands ;;
        "help show" | "help add" | "help edit" | "help delete" | show | add | edit | delete)
            words="group subsystem" ;;
        history) words="group subsystem --since --verify --against" ;;
        "add group") words="--id $fields" ;;
        "add subsystem") words="--id --group --number $fields" ;;
        "edit group "*) words=$fields ;;
        "edit subsystem "*) words="--group --number $fields" ;;
        tree) words="--as-account-type --console" ;;
        subsystems) words="--group" ;;
        history*) words="--since --verify --against" ;;
        revert*) words="--force" ;;
        export) words="--file --replace-invalid" ;;
        import) words="--file --dry-run" ;;
        init) words="--demo" ;;
        upgrade) words="--release --dry-run --move-orphans-to" ;;
    esac
    [[ ${command[0]} != help ]] && words+=" --db --lang --json --help"
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
}

complete -F _subsysmgr subsysmgr
