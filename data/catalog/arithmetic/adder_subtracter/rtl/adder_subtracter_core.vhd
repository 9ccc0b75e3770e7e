-- Adder/subtracter core of the adder_subtracter IP. Generics and ports follow the
-- component file; the generated wrapper instantiates this entity.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity adder_subtracter_core is
    generic (
        WIDTH    : positive range 2 to 256 := 16;
        -- "add", "subtract" or "add_subtract" (then the add input chooses, '1' adding)
        MODE     : string                  := "add";
        -- registers between the operands and s; 0 makes the core combinational
        LATENCY  : natural range 0 to 4    := 1;
        -- 1: c_in is a carry in when adding and a borrow in when subtracting
        CARRY_IN : natural range 0 to 1    := 0
    );
    port (
        clk  : in  std_logic;
        a    : in  std_logic_vector(WIDTH - 1 downto 0);
        b    : in  std_logic_vector(WIDTH - 1 downto 0);
        add  : in  std_logic;
        c_in : in  std_logic;
        s    : out std_logic_vector(WIDTH - 1 downto 0)
    );
end entity;

architecture rtl of adder_subtracter_core is
    type stages_t is array (natural range <>) of unsigned(WIDTH - 1 downto 0);
    signal result : unsigned(WIDTH - 1 downto 0);
    signal stage  : stages_t(0 to LATENCY) := (others => (others => '0'));
begin
    assert MODE = "add" or MODE = "subtract" or MODE = "add_subtract"
        report "adder_subtracter_core: MODE must be add, subtract or add_subtract" severity failure;

    process (all)
        variable carry : unsigned(WIDTH - 1 downto 0);
    begin
        carry := (others => '0');
        if CARRY_IN /= 0 then
            carry(0) := c_in;
        end if;
        if MODE = "add" or (MODE = "add_subtract" and add = '1') then
            result <= unsigned(a) + unsigned(b) + carry;
        else
            result <= unsigned(a) - unsigned(b) - carry;
        end if;
    end process;

    -- stage(0) is the combinational result; stage(LATENCY) drives s.
    stage(0) <= result;
    g_pipe : for i in 1 to LATENCY generate
        process (clk)
        begin
            if rising_edge(clk) then
                stage(i) <= stage(i - 1);
            end if;
        end process;
    end generate;

    s <= std_logic_vector(stage(LATENCY));
end architecture;
