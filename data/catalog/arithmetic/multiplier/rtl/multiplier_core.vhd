-- Multiplier core of the multiplier IP. Generics and ports follow the component
-- file; the generated wrapper instantiates this entity.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity multiplier_core is
    generic (
        A_WIDTH         : positive range 2 to 64 := 18;
        B_WIDTH         : positive range 2 to 64 := 18;
        -- "signed" (two's complement operands) or "unsigned"
        SIGNEDNESS      : string                 := "signed";
        -- registers after the product, all enabled by ce; 0 makes the core combinational
        PIPELINE_STAGES : natural range 0 to 6   := 3;
        -- "dsp" or "logic": a mapping hint that synthesis reads from the mult_style
        -- attribute; the function is the same
        IMPLEMENTATION  : string                 := "dsp"
    );
    port (
        clk : in  std_logic;
        ce  : in  std_logic;
        a   : in  std_logic_vector(A_WIDTH - 1 downto 0);
        b   : in  std_logic_vector(B_WIDTH - 1 downto 0);
        p   : out std_logic_vector(A_WIDTH + B_WIDTH - 1 downto 0)
    );
end entity;

architecture rtl of multiplier_core is
    constant PW : positive := A_WIDTH + B_WIDTH;
    type stages_t is array (natural range <>) of std_logic_vector(PW - 1 downto 0);
    signal product : std_logic_vector(PW - 1 downto 0);
    signal stage   : stages_t(0 to PIPELINE_STAGES) := (others => (others => '0'));
    attribute mult_style : string;
    attribute mult_style of stage : signal is IMPLEMENTATION;
begin
    assert SIGNEDNESS = "signed" or SIGNEDNESS = "unsigned"
        report "multiplier_core: SIGNEDNESS must be signed or unsigned" severity failure;
    assert IMPLEMENTATION = "dsp" or IMPLEMENTATION = "logic"
        report "multiplier_core: IMPLEMENTATION must be dsp or logic" severity failure;

    g_signed : if SIGNEDNESS = "signed" generate
        product <= std_logic_vector(signed(a) * signed(b));
    else generate
        product <= std_logic_vector(unsigned(a) * unsigned(b));
    end generate;

    -- stage(0) is the combinational product; stage(PIPELINE_STAGES) drives p.
    stage(0) <= product;
    g_pipe : for i in 1 to PIPELINE_STAGES generate
        process (clk)
        begin
            if rising_edge(clk) then
                if ce = '1' then
                    stage(i) <= stage(i - 1);
                end if;
            end if;
        end process;
    end generate;

    p <= std_logic_vector(stage(PIPELINE_STAGES));
end architecture;
